// Redraw driver: compile the ticked functions, then the view and its legends.
#include "render/redraw.h"

#include <string>

#include "core/diagram_host.h"
#include "core/selection.h"
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

bool RedrawDiagram(DiagramState& s, const DrawTarget& t, FrameResult& f) {
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
    if (s.Host && t.MainPicture) s.Host->NotifyRedrawn(s, false);
    return false;
  }
  if (s.Host) s.Host->SetPanelInvalid(false);

  // A capture sweeps the product: it is ticked before the frame, its box's
  // click handling (a redraw) running at once.
  if (s.CapturePoints && t.MainPicture) SetCurveTicked(s, 4, true);
  // The following windows compute on the second core while the picture is
  // drawn, which only reads the state; their work is over before the state
  // changes, and not used when the drawing changed what it read. A capture
  // writes the points editor as it draws: its redraws compute in turn.
  DiagramHost* const following = t.MainPicture && !s.CapturePoints ? s.Host : nullptr;
  if (following) following->StartAhead(s);
  try {
    DrawDiagram(s, t, f);
  } catch (...) {
    if (following) following->FinishAhead(false);
    throw;
  }
  bool changed = f.CaptureBegun && s.PointCount != 0;
  if (f.Swept)
    for (int k = 0; k < 3; ++k) changed = changed || s.CurveEnabled[k] != f.CurveEnabled[k];
  if (following) following->FinishAhead(!changed);
  // What the frame changed of the document: the curves it swept, and the
  // measured points a capture replaces.
  if (f.Swept)
    for (int k = 0; k < 3; ++k) s.CurveEnabled[k] = f.CurveEnabled[k];
  if (f.CaptureBegun) s.PointCount = 0;
  if (s.Host && t.MainPicture) s.Host->NotifyRedrawn(s, true);
  return true;
}

void DrawDiagram(const DiagramState& s, const DrawTarget& t, FrameResult& f) {
  LegendCursor cursor;
  cursor.Th = TextHeight(t, "1p");
  cursor.RowA = 32 - 2 * cursor.Th;
  cursor.RowB = 32 - cursor.Th;
  cursor.RowC = 32;
  cursor.X = 60;

  if (s.BlackView == 1) {
    ClearPlot(t);
    DrawBlackDiagram(s, t, f);
  } else {
    // The frame: the same from one step to the next; the curves go over it.
    BeginPlotFrame(t);
    ClearPlot(t);
    DrawBodeFrame(s, t, f);
    EndPlotFrame(t);
    DrawBodeCurves(s, t, f);
    if (s.ShowAsymptotes) DrawBodeAsymptotes(s, t, f);
  }

  UseColour(t, kBlack);
  DrawParameterLegend(s, t, cursor);
  const auto& colours = kCurveColours;
  for (int k = 1; k <= 3; ++k) {
    UseColour(t, colours[k - 1]);
    if (BoxChecked(s, k)) DrawFormulaLabel(s, t, cursor, k);
  }
  UseColour(t, kBlack);
  if (BoxChecked(s, 4)) {
    std::string name;
    for (int k = 1; k <= 3; ++k)
      if (BoxChecked(s, k)) name += "H" + std::to_string(k);
    PlotText(t, cursor.X, cursor.RowB, name);
    cursor.X += 60;
  }
}

}  // namespace tv
