// What a held arrow costs with every window that follows the picture open: the main window, the
// time response, Mesures, Nyquist and the closed-loop poles, each repainted at every step.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <cmath>
#include <memory>

#include "support/scripted_dialogs.h"
#include "support/three_functions.h"
#include "ui/locus_window.h"
#include "ui/measures_window.h"
#include "ui/nyquist_window.h"
#include "ui/parameter_controls.h"
#include "ui/step_window.h"
#include "ui/tform1.h"

namespace {

using tv::ui::TForm1;

// One step and the paints it asks for; a function of its own so that a profiler can be told to
// count only these.
[[gnu::noinline]] void StepAndPaint(tv::ui::ParameterControls& controls, double delta) {
  controls.StepSelectedParameter(delta);
  QApplication::processEvents();
}

// One arrow click of the Ksi spin (0.01) through the panel, then every
// window painted as the event loop paints it. Up and down alternate so that
// Ksi stays put.
void HeldArrowAllWindows(benchmark::State& state) {
  tv::DiagramState s;
  tv::ui::ScriptedDialogs dialogs;
  TForm1 form(s, dialogs);
  for (std::size_t i = 0; i < 3; ++i) {
    s.NumText[i].Assign(tv::scenes::kThreeFunctionTexts[2 * i]);
    s.DenText[i].Assign(tv::scenes::kThreeFunctionTexts[2 * i + 1]);
  }
  s.ParamK = 10;
  s.ParamT = 0.5;
  s.ParamA = 0.2;
  s.ParamB = 0.05;
  s.ParamW = 2;
  s.ParamKsi = 0.3;
  form.show();
  form.CheckBox1->setChecked(true);
  form.CheckBox2->setChecked(true);
  form.CheckBox3->setChecked(true);
  form.CheckBox4->setChecked(true);
  form.RadioButton9->setChecked(true);
  form.CheckBox5->setChecked(true);
  form.Asymptotes1->setChecked(true);
  form.Asymptotes1Click();
  form.RefreshParameterAvailability();
  form.Parameters()->RadioButton(6)->setChecked(true);
  form.Rponsetemporelletrac1->trigger();
  form.Mesures1Click();
  form.LieuNyquist1->trigger();
  form.Lieudesples1->trigger();
  QApplication::processEvents();

  tv::ui::ParameterControls& controls = *form.Parameters();
  const int redraws = form.RedrawCount();
  controls.StepSelectedParameter(0.01);
  if (std::abs(s.ParamKsi - 0.31) > 1e-9 || form.RedrawCount() == redraws)
    state.SkipWithError("Ksi was not stepped");
  controls.StepSelectedParameter(-0.01);
  QApplication::processEvents();
  if (!form.Nyquist()->isVisible() || !form.PoleLocusWindow()->isVisible() ||
      !form.StepResponseWindow()->isVisible() || !form.Measures()->isVisible())
    state.SkipWithError("a window is not open");
  const int locusCount = form.PoleLocusWindow()->LocusCount();
  double delta = 0.01;
  for (auto _ : state) {
    StepAndPaint(controls, delta);
    delta = -delta;
  }
  if (form.PoleLocusWindow()->LocusCount() != locusCount)
    state.SkipWithError("a Ksi step computed the locus again");
  if (form.Picture().isNull()) state.SkipWithError("nothing drawn");
}
BENCHMARK(HeldArrowAllWindows)->Unit(benchmark::kMillisecond);

}  // namespace
