// The window "Réponse temporelle": the step response of the ticked functions, redrawn after every
// redraw.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/input_response.h"
#include "analysis/step_response.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "ui/following_window.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tv::ui {

class QtSurface;

// Follows the host's redraws with the response of the same system as the
// worksheet's statement H.
class StepWindow : public FollowingWindow {
  Q_OBJECT

 public:
  // Asks, and prints on the printer last chosen, through s's host.
  StepWindow(tv::DiagramState& s, QWidget* parent = nullptr);
  ~StepWindow() override;

  QAction* EnregistrerEchantillons = nullptr;  // "Enregistrer les échantillons (CSV)..."
  QCheckBox* BoucleFermee = nullptr;           // "Boucle fermée (retour unitaire)"
  QLineEdit* TMax = nullptr;                   // "t max (s)": empty is automatic
  QComboBox* Entree = nullptr;  // "Entrée :" échelon, rampe, impulsion (InputKind's order)

  // RedrawListener.
  void DiagramRedrawn(const tv::DiagramState& s, bool drawn) override;
  std::function<void()> ComputeAhead(const tv::DiagramState& s) override;
  void DropAhead() override { ahead_.reset(); }

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
  // How many times the response was computed (a redraw that changed nothing it reads computes
  // none).
  int ComputeCount() const { return computeCount_; }

  // The commands of the window's Fichier menu.
  void PressepapierClick() override;
  void ImprimerClick() override;
  void SauverClick(const char* extension) override;

 private:
  // Beside the main window, so that the Bode picture stays in view.
  void Place() override;
  void Opened() override { Recompute(); }
  // Compiles the ticked texts again: the window may open after a refused redraw.
  void Recompute();
  void Compute(bool drawn);
  // The response drawn onto the window's picture.
  void Repaint();
  void Resized(int width, int height);

  // Where the window's picture is drawn (surface, size, pens).
  tv::DrawTarget picture_;
  std::unique_ptr<QtSurface> surface_;
  tv::InputResponse response_;
  // What response_ was computed from at the last redraw: the ticked functions and their
  // coefficients, the input, the loop and the span; none after a refused redraw or a reading
  // of the texts.
  struct Source {
    std::vector<int> Factors;
    std::vector<tv::CoefficientSet> Num, Den;
    tv::InputKind Input = tv::InputKind::Step;
    bool Closed = false;
    double TMax = 0;
  };
  std::optional<Source> source_;
  // What the redraw about to be told would compute the response from.
  Source SourceNow() const;
  static bool SameSource(const Source& a, const Source& b);
  // The response computed beside the main picture's drawing, with its source.
  std::optional<std::pair<Source, tv::InputResponse>> ahead_;
  int redrawCount_ = 0;
  int computeCount_ = 0;
  // The last span "t max (s)" gave that was accepted (0: automatic).
  double tMax_ = 0;
};

}  // namespace tv::ui
