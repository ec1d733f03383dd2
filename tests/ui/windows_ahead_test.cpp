// The following windows' numbers computed beside the main picture's drawing: the same as computed
// after it.
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QRadioButton>
#include <QtTest>
#include <cstring>

#include "analysis/input_response.h"
#include "analysis/nyquist.h"
#include "core/diagram_state.h"
#include "support/scripted_dialogs.h"
#include "support/three_functions.h"
#include "ui/measures_window.h"
#include "ui/nyquist_window.h"
#include "ui/parameter_controls.h"
#include "ui/step_window.h"
#include "ui/tform1.h"

namespace {

bool SameLocus(const tv::NyquistLocus& a, const tv::NyquistLocus& b) {
  if (a.Outcome != b.Outcome || a.Points.size() != b.Points.size()) return false;
  for (std::size_t i = 0; i < a.Points.size(); ++i)
    if (a.Points[i].W != b.Points[i].W || a.Points[i].H != b.Points[i].H) return false;
  return a.Verdict.Stable() == b.Verdict.Stable();
}

}  // namespace

class WindowsAheadTest : public QObject {
  Q_OBJECT

 private slots:
  void StepsGiveWhatTheWindowsComputeAfterTheDrawing_data() {
    QTest::addColumn<int>("parameter");  // the panel's radio button, 1..6
    QTest::addColumn<double>("step");
    QTest::addColumn<bool>("margins");
    QTest::newRow("KsiWithMargins") << 6 << 0.01 << true;
    QTest::newRow("KsiWithoutMargins") << 6 << -0.02 << false;
    QTest::newRow("KWithMargins") << 1 << 0.5 << true;
  }

  void StepsGiveWhatTheWindowsComputeAfterTheDrawing() {
    QFETCH(int, parameter);
    QFETCH(double, step);
    QFETCH(bool, margins);
    tv::DiagramState s;
    tv::ui::ScriptedDialogs dialogs;
    tv::ui::TForm1 form(s, dialogs);
    tv::scenes::ThreeFunctions(s);
    form.show();
    for (QCheckBox* box : {form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4})
      box->setChecked(true);
    form.RadioButton9->setChecked(true);
    form.CheckBox5->setChecked(margins);
    form.RefreshParameterAvailability();
    form.Parameters()->RadioButton(parameter)->setChecked(true);
    form.Rponsetemporelletrac1->trigger();
    form.Mesures1Click();
    form.LieuNyquist1->trigger();
    QApplication::processEvents();

    tv::ui::NyquistWindow& nyquist = *form.Nyquist();
    tv::ui::StepWindow& time = *form.StepResponseWindow();
    tv::ui::MeasuresWindow& measures = *form.Measures();
    for (int k = 0; k < 4; ++k) {
      const int ahead = form.AheadCount();
      form.Parameters()->StepSelectedParameter(step);
      QApplication::processEvents();
      QCOMPARE(form.AheadCount(), ahead + 1);

      const tv::NyquistPicture fresh = tv::ComputeNyquistPicture(s, s.ShowMargins != 0);
      QCOMPARE(nyquist.Loci().Curves.size(), fresh.Curves.size());
      for (std::size_t i = 0; i < fresh.Curves.size(); ++i)
        QVERIFY(SameLocus(nyquist.Loci().Curves[i].Locus, fresh.Curves[i].Locus));
      QVERIFY(SameLocus(nyquist.Loci().Loop, fresh.Loop));

      const std::vector<double> y =
          tv::ComputeInputResponseOfTexts(s, time.AskedInput(), time.BoucleFermee->isChecked(),
                                          time.AskedTMax())
              .Samples.Y;
      QCOMPARE(time.Response().Y.size(), y.size());
      QVERIFY(std::memcmp(time.Response().Y.data(), y.data(), y.size() * sizeof(double)) == 0);

      // The read-outs' lines written anew from the state by the window
      // itself; without margins, the redraw's drawn margins do not enter them.
      if (!margins) {
        const auto texts = [&measures] {
          QStringList all;
          for (const auto& line : measures.Lines()) all << line.Text;
          return all;
        };
        const QStringList before = texts();
        QEvent language(QEvent::LanguageChange);
        QApplication::sendEvent(&measures, &language);
        measures.DiagramRedrawn(s, true);
        QCOMPARE(texts(), before);
      }
    }
  }
};

QTEST_MAIN(WindowsAheadTest)
#include "windows_ahead_test.moc"
