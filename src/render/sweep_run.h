// A sweep's pen, colour and line calls gathered and handed to the surface in runs.
#pragma once

#include <array>
#include <cstddef>

#include "render/primitives.h"

namespace tv {

// A sweep changes colour and pen and draws a segment for every curve at
// every sample, thousands of calls a picture, each a call into the surface
// of its own. The run keeps them, in order and as the primitives would make
// them (the same colour rule, origin and rejection), and hands them over
// together: the surface gets the same calls in the same order. Anything
// else drawn in between (a margin's marks, a label) must Flush first.
// On paper every call goes straight through.
class SweepRun {
 public:
  explicit SweepRun(const DrawTarget& t) : t_(t), gather_(t.DrawCanvas && !t.OnPaper) {}
  ~SweepRun() { Flush(); }
  SweepRun(const SweepRun&) = delete;
  SweepRun& operator=(const SweepRun&) = delete;

  // SetPen.
  void Pen(PenStyle style, int width) {
    if (!gather_) return tv::SetPen(t_, style, width);
    DrawStep& step = Next();
    step.What = DrawStep::Kind::Pen;
    step.R = static_cast<std::uint8_t>(style);
    step.X1 = width;
  }
  // UseColour.
  void Colour(Rgb colour) {
    if (!gather_) return UseColour(t_, colour);
    colour = DiagramColour(t_, colour);
    DrawStep& step = Next();
    step.What = DrawStep::Kind::Colour;
    step.R = colour.R;
    step.G = colour.G;
    step.B = colour.B;
  }
  // PlotLine.
  [[gnu::always_inline]] void Line(int x1, int y1, int x2, int y2) {
    if (!gather_) return PlotLine(t_, x1, y1, x2, y2);
    if (LineOffPlot(t_, y1, y2)) return;
    DrawStep& step = Next();
    step.What = DrawStep::Kind::Segment;
    step.X1 = detail::Sx(t_, x1);
    step.Y1 = detail::Sy(t_, y1);
    step.X2 = detail::Sx(t_, x2);
    step.Y2 = detail::Sy(t_, y2);
  }
  // PlotDottedLine.
  void DottedLine(int x1, int y1, int x2, int y2) {
    Pen(PenStyle::Dotted, t_.FramePenWidth);
    Line(x1, y1, x2, y2);
    Pen(PenStyle::Solid, t_.FramePenWidth);
  }

  // Hands what was gathered to the surface.
  void Flush() {
    if (count_ != 0) HandOver();
  }

 private:
  DrawStep& Next() {
    if (count_ == steps_.size()) HandOver();
    return steps_[count_++];
  }

  [[gnu::noinline]] void HandOver() {
    t_.DrawCanvas->DrawRun({steps_.data(), count_});
    count_ = 0;
  }

  const DrawTarget& t_;
  const bool gather_;
  std::size_t count_ = 0;
  std::array<DrawStep, 512> steps_;
};

}  // namespace tv
