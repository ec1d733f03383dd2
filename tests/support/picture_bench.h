// A window-less bench for the picture and worksheet commands: state, host, screen picture, scripted
// dialogs.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "render/draw_target.h"
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

// The redraws of the bench, each as its target was.
class SnapshotHost : public tv::HeadlessHost {
 public:
  std::vector<RedrawSnapshot> Redraws;

  void Snapshot(const tv::DrawTarget& t) {
    RedrawSnapshot::Target kind = RedrawSnapshot::Other;
    if (t.DrawCanvas && t.DrawCanvas == t.ScreenCanvas)
      kind = RedrawSnapshot::Screen;
    else if (dynamic_cast<PainterSurface*>(t.DrawCanvas))
      kind = RedrawSnapshot::Painter;
    else if (dynamic_cast<EmfSurface*>(t.DrawCanvas))
      kind = RedrawSnapshot::Metafile;
    Redraws.push_back({kind, t.DrawCanvas, t.OriginX, t.OriginY, t.PlotWidth, t.PlotHeight,
                       t.CurvePenWidth, t.FramePenWidth, t.ForceBlack,
                       t.DrawCanvas ? t.DrawCanvas->FontHeight() : 0});
  }
};

// A 400 × 300 screen showing H1 = 1/(1+p) in blue, after one redraw. Every
// page and the screen are drawn through the context's page drawing, which
// takes a snapshot of each valid redraw's target.
struct PictureBench {
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 300;

  tv::DiagramState s;
  SnapshotHost host;
  QtSurface screen{kWidth, kHeight};
  tv::DrawTarget target = tv::ScreenTarget(&screen, kWidth, kHeight);
  tv::FrameResult frame;
  ScriptedDialogs dialogs;
  int screenRedraws = 0;
  PictureContext ctx{nullptr, s, target, dialogs, screen, DrawOn()};

  PictureBench() {
    s.Host = &host;
    host.OnRedraw = [this] { Draw(target); };
    tv::SetStartValues(s);
    s.CurveTicked[0] = true;
    s.NumText[0].Assign("1");
    s.DenText[0].Assign("1+p");
    tv::RedrawDiagram(s, target, frame);
    screen.Finish();
    host.Redraws.clear();
  }
  PictureBench(const PictureBench&) = delete;
  PictureBench& operator=(const PictureBench&) = delete;

  void Draw(const tv::DrawTarget& page) {
    const bool onScreen = page.DrawCanvas == &screen;
    if (onScreen) ++screenRedraws;
    if (tv::RedrawDiagram(s, page, frame)) host.Snapshot(page);
    if (onScreen) screen.Finish();
  }
  std::function<void(const tv::DrawTarget&)> DrawOn() {
    return [this](const tv::DrawTarget& page) { Draw(page); };
  }

  // The screen's values are all back.
  bool ScreenRestored() const {
    return target.DrawCanvas == &screen && target.ScreenCanvas == &screen &&
           target.PlotWidth == kWidth && target.PlotHeight == kHeight && target.OriginX == 0 &&
           target.OriginY == 0 && target.CurvePenWidth == 2 && target.FramePenWidth == 1 &&
           target.ForceBlack == 0;
  }
};

}  // namespace tv::ui::test
