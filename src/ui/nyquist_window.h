// The window "Lieu de Nyquist": the loci of the ticked functions and the closed loop's verdict,
// redrawn after every redraw.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "analysis/nyquist.h"
#include "core/diagram_host.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/nyquist_view.h"

class QAction;
class QCheckBox;
class QMenuBar;

namespace tv::ui {

class QtSurface;

// A top-level, non-modal window like the time-response window: while shown
// it listens to the host's redraws and draws the Nyquist loci of the same
// curves as the main picture; hidden, it is not told and costs nothing.
class NyquistWindow : public QWidget, public tv::RedrawListener {
  Q_OBJECT

 public:
  NyquistWindow(tv::DiagramState& s, QWidget* parent = nullptr);
  ~NyquistWindow() override;

  QMenuBar* MainMenu = nullptr;
  QAction* Pressepapier = nullptr;
  QAction* Imprimer = nullptr;
  QAction* SauverPng = nullptr;
  QAction* SauverSvg = nullptr;
  QCheckBox* ZoomCritique = nullptr;  // "Zoom sur -1"
  QWidget* Picture = nullptr;

  // Analyse > "Lieu de Nyquist": shows the window and brings it to the front.
  void ShowWindow();

  // RedrawListener.
  void DiagramRedrawn(const tv::DiagramState& s, bool drawn) override;

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
  void PressepapierClick();
  void ImprimerClick();
  void SauverClick(const char* extension);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Compiles the ticked texts again: the window may open after a refused redraw.
  void Recompute();
  void Repaint();
  void Resized(int width, int height);

  tv::DiagramState& s_;
  // The drawing fields of the picture (target, size, pens); nothing else of
  // it is used.
  tv::DrawTarget picture_;
  std::unique_ptr<QtSurface> surface_;
  tv::NyquistPicture loci_;
  tv::NyquistFrame frame_;
  tv::DiagramHost* listenedTo_ = nullptr;
  bool placed_ = false;
  int redrawCount_ = 0;
};

}  // namespace tv::ui
