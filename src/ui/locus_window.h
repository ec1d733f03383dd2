// The window "Lieu des pôles en boucle fermée": the closed-loop poles over the selected parameter,
// kept while it is stepped, a click on a branch setting it.
#pragma once

#include <QImage>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/locus.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/locus_view.h"
#include "ui/following_window.h"

class QLabel;
class QLineEdit;

namespace tv::ui {

class QtSurface;
class ReadoutLines;

// Follows the host's redraws: when only the selected parameter moved, it
// moves the current poles over the locus it keeps; when anything else
// changed (a text, a tick, another parameter, the range), it computes the
// locus anew.
class LocusWindow : public FollowingWindow {
  Q_OBJECT

 public:
  // selected: the parameter the panel's arrows step (none: K).
  // setValue: stores a value as the panel does (captions, then every
  // window redrawn).
  LocusWindow(tv::DiagramState& s, std::function<std::optional<tv::Parameter>()> selected,
              std::function<void(tv::Parameter, double)> setValue, QWidget* parent = nullptr);
  ~LocusWindow() override;

  QLineEdit* From = nullptr;  // "de"
  QLineEdit* To = nullptr;    // "à"
  ReadoutLines* Readouts = nullptr;

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
  void PressepapierClick() override;
  void ImprimerClick() override;
  void SauverClick(const char* extension) override;

 private:
  void Opened() override { Update(true); }
  tv::Parameter Selected() const;
  // The range in "de" and "à", or the default one when they do not read.
  std::pair<double, double> Range() const;
  void SetDefaultRange();
  // The locus anew when the family or the range changed, then the markers.
  // redrawn: called by the main picture's redraw, which has just evaluated
  // every ticked text at the state's values.
  void Update(bool drawn, bool redrawn = false);
  void DrawBase();
  void DrawMarkers();
  void Resized(int width, int height);

  std::function<std::optional<tv::Parameter>()> selected_;
  std::function<void(tv::Parameter, double)> setValue_;
  tv::DrawTarget picture_;
  std::unique_ptr<QtSurface> base_;
  QImage shown_;
  // Whether shown_ is the base as it stands, with markers in marked_ alone.
  bool baseCopied_ = false;
  std::vector<QRect> marked_;
  tv::CharacteristicFamily family_;
  std::pair<double, double> range_{0, 0};
  tv::Locus locus_;
  tv::LocusPoles poles_;
  tv::LocusFrame frame_;
  std::optional<tv::Parameter> rangeFor_;
  bool computed_ = false;
  int locusCount_ = 0;
};

}  // namespace tv::ui
