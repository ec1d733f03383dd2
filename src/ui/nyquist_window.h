// The window "Lieu de Nyquist": the loci of the ticked functions and the closed loop's verdict,
// redrawn after every redraw.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/nyquist.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/nyquist_view.h"
#include "ui/following_window.h"

class QCheckBox;

namespace tv::ui {

class QtSurface;

// Follows the host's redraws with the Nyquist loci of the same curves as the
// main picture.
class NyquistWindow : public FollowingWindow {
  Q_OBJECT

 public:
  NyquistWindow(tv::DiagramState& s, QWidget* parent = nullptr);
  ~NyquistWindow() override;

  QCheckBox* ZoomCritique = nullptr;  // "Zoom sur -1"

  // RedrawListener.
  void DiagramRedrawn(const tv::DiagramState& s, bool drawn) override;
  std::function<void()> ComputeAhead(const tv::DiagramState& s) override;
  void DropAhead() override { ahead_.reset(); }

  const tv::NyquistPicture& Loci() const { return loci_; }
  // Where the picture as last drawn put the H plane.
  const tv::NyquistFrame& Frame() const { return frame_; }
  // The picture as last drawn.
  const QImage& Image() const;
  int RedrawCount() const { return redrawCount_; }
  // The values under the cursor at picture point (x, y), as the tooltip
  // shows them; empty where there is no curve.
  QString CursorText(int x, int y) const;

  // The commands of the window's Fichier menu.
  void PressepapierClick() override;
  void ImprimerClick() override;
  void SauverClick(const char* extension) override;

 private:
  // Compiles the ticked texts again: the window may open after a refused redraw.
  void Opened() override;
  void Repaint();
  void Resized(int width, int height);

  // Where the window's picture is drawn (surface, size, pens).
  tv::DrawTarget picture_;
  std::unique_ptr<QtSurface> surface_;
  tv::NyquistPicture loci_;
  // The loci computed beside the main picture's drawing, for the redraw.
  std::optional<tv::NyquistPicture> ahead_;
  tv::NyquistFrame frame_;
  int redrawCount_ = 0;
};

}  // namespace tv::ui
