// Redraw driver: compile the ticked functions, then the view and its legends.
#include "render/redraw.h"

#include <string>

#include "core/diagram_host.h"
#include "expression/coefficients.h"
#include "render/asymptotes.h"
#include "render/black.h"
#include "render/bode.h"
#include "render/layout.h"
#include "render/overlays.h"
#include "render/primitives.h"

namespace tv {

namespace {
bool BoxChecked(const DiagramState& s, int box) {
  return s.CurveTicked[static_cast<std::size_t>(box - 1)];
}
}  // namespace

bool RedrawDiagram(DiagramState& s) {
  // A text is cut into tokens when it differs from the one last compiled;
  // every redraw evaluates the tokens with the values of the moment.
  bool valid = true;
  const ParameterValues params = ParametersOf(s);
  for (int i = 0; i < 3; ++i) {
    if (!BoxChecked(s, i + 1)) continue;
    if (!CompileFunction(s, i, params)) valid = false;
  }
  if (!valid) {
    AlarmBeep(s.Host);
    AlarmBeep(s.Host);
    if (s.Host) s.Host->SetPanelInvalid(true);
    if (s.Host) s.Host->NotifyRedrawn(s, false);
    return false;
  }
  if (s.Host) s.Host->SetPanelInvalid(false);

  LegendCursor cursor;
  cursor.Th = TextHeight(s, "1p");
  cursor.RowA = 32 - 2 * cursor.Th;
  cursor.RowB = 32 - cursor.Th;
  cursor.RowC = 32;
  cursor.X = 60;

  if (s.BlackView == 1) {
    ClearPlot(s);
    DrawBlackDiagram(s);
  } else {
    // The frame: the same from one step to the next; the curves go over it.
    BeginPlotFrame(s);
    ClearPlot(s);
    DrawBodeFrame(s);
    EndPlotFrame(s);
    DrawBodeCurves(s);
    if (s.ShowAsymptotes) DrawBodeAsymptotes(s);
  }

  UseColour(s, kBlack);
  DrawParameterLegend(s, cursor);
  const auto& colours = kCurveColours;
  for (int k = 1; k <= 3; ++k) {
    UseColour(s, colours[k - 1]);
    if (BoxChecked(s, k)) DrawFormulaLabel(s, cursor, k);
  }
  UseColour(s, kBlack);
  if (BoxChecked(s, 4)) {
    std::string name;
    for (int k = 1; k <= 3; ++k)
      if (BoxChecked(s, k)) name += "H" + std::to_string(k);
    PlotText(s, cursor.X, cursor.RowB, name);
    cursor.X += 60;
  }
  if (s.Host) s.Host->NotifyRedrawn(s, true);
  return true;
}

}  // namespace tv
