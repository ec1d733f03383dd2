// A window-less bench for the picture and worksheet commands: state, host, screen picture, scripted
// dialogs.
#pragma once

#include <QString>
#include <vector>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "render/redraw.h"
#include "output/emf_surface.h"
#include "output/painter_surface.h"
#include "ui/picture_commands.h"
#include "output/qt_surface.h"
#include "support/scripted_dialogs.h"

namespace tv::ui::test {

// The state as one redraw found it.
struct RedrawSnapshot {
  enum Target { Screen, Painter, Metafile, Other };
  Target Kind = Other;                // what DrawCanvas was
  tv::PlotSurface* Canvas = nullptr;  // compare only; it may be gone
  int OriginX = 0, OriginY = 0;
  int PlotWidth = 0, PlotHeight = 0;
  int CurvePen = 0, FramePen = 0;
  int ForceBlack = 0;
  int FontHeight = 0;
};

// Every valid redraw sets the panel back to normal first: the snapshot is
// taken there.
class SnapshotHost : public tv::HeadlessHost {
 public:
  tv::DiagramState* State = nullptr;
  std::vector<RedrawSnapshot> Redraws;

  void SetPanelInvalid(bool invalid) override {
    HeadlessHost::SetPanelInvalid(invalid);
    if (!State || invalid) return;
    const tv::DiagramState& s = *State;
    RedrawSnapshot::Target kind = RedrawSnapshot::Other;
    if (s.DrawCanvas && s.DrawCanvas == s.ScreenCanvas)
      kind = RedrawSnapshot::Screen;
    else if (dynamic_cast<PainterSurface*>(s.DrawCanvas))
      kind = RedrawSnapshot::Painter;
    else if (dynamic_cast<EmfSurface*>(s.DrawCanvas))
      kind = RedrawSnapshot::Metafile;
    Redraws.push_back({kind, s.DrawCanvas, s.OriginX, s.OriginY, s.PlotWidth, s.PlotHeight,
                       s.CurvePenWidth, s.FramePenWidth, s.ForceBlack,
                       s.DrawCanvas ? s.DrawCanvas->FontHeight() : 0});
  }
};

// A 400 × 300 screen showing H1 = 1/(1+p) in blue, after one redraw.
struct PictureBench {
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 300;

  tv::DiagramState s;
  SnapshotHost host;
  QtSurface screen{kWidth, kHeight};
  ScriptedDialogs dialogs;
  int screenRedraws = 0;
  PictureContext ctx{nullptr, s, dialogs, screen};

  PictureBench() {
    s.Host = &host;
    host.OnRedraw = [this] {
      ++screenRedraws;
      tv::RedrawDiagram(s);
      screen.Finish();
    };
    host.State = &s;
    tv::SetStartValues(s);
    s.DrawCanvas = s.ScreenCanvas = &screen;
    s.PlotWidth = kWidth;
    s.PlotHeight = kHeight;
    s.CurveTicked[0] = true;
    s.NumText[0].Assign("1");
    s.DenText[0].Assign("1+p");
    tv::RedrawDiagram(s);
    screen.Finish();
    host.Redraws.clear();
  }
  PictureBench(const PictureBench&) = delete;
  PictureBench& operator=(const PictureBench&) = delete;

  // The screen's values are all back.
  bool ScreenRestored() const {
    return s.DrawCanvas == &screen && s.ScreenCanvas == &screen && s.PlotWidth == kWidth &&
           s.PlotHeight == kHeight && s.OriginX == 0 && s.OriginY == 0 && s.CurvePenWidth == 2 &&
           s.FramePenWidth == 1 && s.ForceBlack == 0;
  }
};

}  // namespace tv::ui::test
