// The window "Lieu des pôles en boucle fermée": the closed-loop poles over the selected parameter,
// kept while it is stepped, a click on a branch setting it.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/locus.h"
#include "core/diagram_host.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/locus_view.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenuBar;

namespace tv::ui {

class QtSurface;

// A top-level, non-modal window like the time-response window. While shown
// it listens to the host's redraws: when only the selected parameter moved,
// it moves the current poles over the locus it keeps; when anything else
// changed (a text, a tick, another parameter, the range), it computes the
// locus anew. Hidden, it is not told and costs nothing.
class LocusWindow : public QWidget, public tv::RedrawListener {
  Q_OBJECT

 public:
  // selected: the parameter the panel's arrows step (none: K).
  // setValue: stores a value as the panel does (captions, then every
  // window redrawn).
  LocusWindow(tv::DiagramState& s, std::function<std::optional<tv::Parameter>()> selected,
              std::function<void(tv::Parameter, double)> setValue, QWidget* parent = nullptr);
  ~LocusWindow() override;

  QMenuBar* MainMenu = nullptr;
  QAction* Pressepapier = nullptr;
  QAction* Imprimer = nullptr;
  QAction* SauverPng = nullptr;
  QAction* SauverSvg = nullptr;
  QLineEdit* From = nullptr;  // "de"
  QLineEdit* To = nullptr;    // "à"
  QLabel* Readouts = nullptr;
  QWidget* Picture = nullptr;

  // "Lieu des pôles": shows the window and brings it to the front.
  void ShowWindow();
  // The panel's selection changed: the range and the locus follow.
  void ParameterChosen();

  // RedrawListener.
  void DiagramRedrawn(const tv::DiagramState& s, bool drawn) override;

  // A click at (x, y) of the picture: the selected parameter set to the
  // value of the nearest point of the locus. False when nothing is drawn.
  bool ClickAt(int x, int y);

  const tv::Locus& CurrentLocus() const { return locus_; }
  const tv::LocusPoles& Poles() const { return poles_; }
  const tv::LocusFrame& Frame() const { return frame_; }
  // The picture as shown.
  const QImage& Image() const { return shown_; }
  // How many times the whole locus was computed (a step computes none).
  int LocusCount() const { return locusCount_; }

  // The commands of the window's Fichier menu.
  void PressepapierClick();
  void ImprimerClick();
  void SauverClick(const char* extension);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  tv::Parameter Selected() const;
  // The range in "de" and "à", or the default one when they do not read.
  std::pair<double, double> Range() const;
  void SetDefaultRange();
  // The locus anew when the family or the range changed, then the markers.
  void Update(bool drawn);
  void DrawBase();
  void DrawMarkers();
  void Resized(int width, int height);

  tv::DiagramState& s_;
  std::function<std::optional<tv::Parameter>()> selected_;
  std::function<void(tv::Parameter, double)> setValue_;
  tv::DrawTarget picture_;
  std::unique_ptr<QtSurface> base_;
  QImage shown_;
  tv::CharacteristicFamily family_;
  std::pair<double, double> range_{0, 0};
  tv::Locus locus_;
  tv::LocusPoles poles_;
  tv::LocusFrame frame_;
  std::optional<tv::Parameter> rangeFor_;
  tv::DiagramHost* listenedTo_ = nullptr;
  bool placed_ = false;
  bool computed_ = false;
  int locusCount_ = 0;
};

}  // namespace tv::ui
