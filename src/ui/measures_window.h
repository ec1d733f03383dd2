// The "Mesures" window: the exact read-outs of every drawn curve in its colour, followed after
// every redraw.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "analysis/readouts.h"
#include "core/diagram_host.h"
#include "core/diagram_state.h"
#include "render/margin_record.h"
#include "ui/readout_view.h"

class QPushButton;

namespace tv {
class PlotSurface;
}

namespace tv::ui {

// The margins the picture found for one curve, split by kind.
struct DrawnMargins {
  bool Searched = false;                       // margins on, gain and phase drawn
  std::vector<tv::MarginRecord> PhaseMargins;  // in drawing order
  std::vector<tv::MarginRecord> GainMargins;
};

// One titled block of a curve's read-outs.
struct MeasureSection {
  QString Title;
  QStringList Lines;
};

// The sections of one curve, in the order shown: margins, closed loop,
// static behaviour. A read-out of another kind appends its own section here.
std::vector<MeasureSection> CurveSections(const tv::CurveReadouts& r, const DrawnMargins& drawn);

// What the picture found for a curve, from the redraw's margins: slot 1..3
// for H1..H3, 4 for the product.
DrawnMargins DrawnMarginsOf(const std::vector<tv::MarginRecord>& margins, int slot, bool searched);

class MeasuresWindow : public QWidget, public tv::RedrawListener {
  Q_OBJECT

 public:
  // A top-level, non-modal window, hidden until shown. While shown it follows
  // the redraws of host's main picture, and collects their margins.
  MeasuresWindow(tv::DiagramState& s, tv::DiagramHost& host, QWidget* parent = nullptr);
  ~MeasuresWindow() override;

  void DiagramRedrawn(const tv::DiagramState& s, bool drawn) override;
  std::function<void()> ComputeAhead(const tv::DiagramState& s) override;
  void DropAhead() override { ahead_.clear(); }

  // One shown line: its text, colour, whether it is a heading, its indent.
  using Line = ReadoutView::Line;
  const std::vector<Line>& Lines() const { return lines_; }
  // The lines as plain text, indented with spaces: what "Copier" puts on the clipboard.
  QString PlainText() const;

  QPushButton* Copier = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The lines of one curve as last built, with what they were built from.
  struct CurveLines {
    tv::Curve Source;
    tv::CurveFactors Factors;
    tv::PulsationRange Range;
    DrawnMargins Drawn;
    std::vector<Line> Lines;
  };
  static bool SameSource(const CurveLines& a, const CurveLines& b);
  // The read-outs of a curve, computed beside the main picture's drawing.
  struct AheadReadouts {
    tv::CurveFactors Factors;
    tv::PulsationRange Range;
    tv::CurveReadouts Readouts;
  };
  // known: the curve's read-outs when they were computed ahead.
  static std::vector<Line> CurveLinesOf(const tv::DiagramState& s, const tv::Curve& c,
                                        const tv::CurveFactors& factors,
                                        const tv::PulsationRange& range, const DrawnMargins& drawn,
                                        const tv::CurveReadouts* known);

  void Rebuild(const tv::DiagramState& s, bool drawn);
  void ShowLines();
  void Detach();

  tv::DiagramState& s_;
  tv::DiagramHost& host_;
  std::vector<tv::MarginRecord> margins_;
  std::vector<Line> lines_;
  // Each drawn curve's lines: a curve whose coefficients, range and drawn
  // margins are the same to the bit keeps them at the next redraw.
  std::vector<CurveLines> curveLines_;
  std::vector<AheadReadouts> ahead_;
  ReadoutView* view_ = nullptr;
  bool placed_ = false;
};

}  // namespace tv::ui
