// The window "Réponse temporelle": the step response of the ticked functions, redrawn after every
// redraw.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "analysis/input_response.h"
#include "analysis/step_response.h"
#include "core/diagram_host.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "ui/dialogs.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenuBar;
class QPrinter;

namespace tv::ui {

class QtSurface;

// A top-level, non-modal window like the points editor. While shown it
// listens to the host's redraws and computes and draws the response of the
// same system as the worksheet's statement H; hidden, it is not told and
// costs nothing.
class StepWindow : public QWidget, public tv::RedrawListener {
  Q_OBJECT

 public:
  // Asks, and prints on the printer last chosen, through s's host.
  StepWindow(tv::DiagramState& s, QWidget* parent = nullptr);
  ~StepWindow() override;

  QMenuBar* MainMenu = nullptr;
  QAction* Pressepapier = nullptr;
  QAction* Imprimer = nullptr;
  QAction* SauverPng = nullptr;
  QAction* SauverSvg = nullptr;
  QAction* EnregistrerEchantillons = nullptr;  // "Enregistrer les échantillons (CSV)..."
  QCheckBox* BoucleFermee = nullptr;           // "Boucle fermée (retour unitaire)"
  QLineEdit* TMax = nullptr;                   // "t max (s)": empty is automatic
  QComboBox* Entree = nullptr;  // "Entrée :" échelon, rampe, impulsion (InputKind's order)
  QWidget* Picture = nullptr;

  // "Réponse temporelle : tracé": shows the window and brings it to the front.
  void ShowWindow();

  // RedrawListener.
  void DiagramRedrawn(const tv::DiagramState& s, bool drawn) override;

  // The span asked for in "t max (s)", 0 for automatic (empty or not a
  // positive number; ',' is read as the decimal point).
  double AskedTMax() const;
  tv::InputKind AskedInput() const;
  // The samples drawn (the response to the input chosen), and the whole result.
  const tv::StepResponse& Response() const { return response_.Samples; }
  const tv::InputResponse& InputResult() const { return response_; }
  // The picture as last drawn.
  const QImage& Image() const;
  int RedrawCount() const { return redrawCount_; }

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
  void Compute(bool drawn);
  // The response drawn onto the window's picture.
  void Repaint();
  void Resized(int width, int height);

  tv::DiagramState& s_;
  // The drawing fields of the picture (target, size, pens); nothing else of
  // it is used.
  tv::DrawTarget picture_;
  std::unique_ptr<QtSurface> surface_;
  tv::InputResponse response_;
  tv::DiagramHost* listenedTo_ = nullptr;
  bool placed_ = false;
  int redrawCount_ = 0;
  // The last span "t max (s)" gave that was accepted (0: automatic).
  double tMax_ = 0;
};

}  // namespace tv::ui
