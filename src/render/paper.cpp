// Curves on paper: the frame's cut, dots that run on along a curve, names at the curves' ends.
#include "render/paper.h"

#include <algorithm>
#include <cmath>

#include "core/selection.h"
#include "render/primitives.h"

namespace tv {

bool CutToFrame(const PaperFrame& f, int& x1, int& y1, int& x2, int& y2) {
  // Liang-Barsky: the part of the segment, as a share t0..t1 of its length,
  // that lies on the inner side of all four edges.
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {static_cast<double>(x1) - f.Left, static_cast<double>(f.Right) - x1,
                       static_cast<double>(y1) - f.Top, static_cast<double>(f.Bottom) - y1};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const double ax = x1, ay = y1;
  if (t1 < 1) {
    x2 = RoundPixel(ax + t1 * dx);
    y2 = RoundPixel(ay + t1 * dy);
  }
  if (t0 > 0) {
    x1 = RoundPixel(ax + t0 * dx);
    y1 = RoundPixel(ay + t0 * dy);
  }
  return true;
}

int PaperCurvePen(const DrawTarget& t) { return std::max(t.CurvePenWidth, kPaperCurvePen); }

void PaperCurve::Line(const DrawTarget& t, const PaperFrame& frame, int x1, int y1, int x2, int y2,
                      bool dotted) {
  int cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
  const bool inside = CutToFrame(frame, cx1, cy1, cx2, cy2);
  if (inside) {
    hasEnd_ = true;
    endX_ = cx2;
    endY_ = cy2;
  }
  if (!dotted) {
    if (inside) {
      PlotMoveTo(t, cx1, cy1);
      PlotLineTo(t, cx2, cy2);
    }
    return;
  }
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0) || !inside) {
    along_ += std::isfinite(length) ? length : 0;
    return;
  }
  // A dash of one pixel drawn with a pen of w pixels prints as a dot about
  // w + 1 wide; the gap leaves as much white between two dots.
  const double on = 1;
  const double period = on + 2.0 * PaperCurvePen(t) + 1;
  double from = 0;
  while (from < length) {
    const double at = std::fmod(along_ + from, period);
    if (at >= on) {
      from += period - at;
      continue;
    }
    const double to = std::min(length, from + on - at);
    int ax = RoundPixel(x1 + dx * from / length), ay = RoundPixel(y1 + dy * from / length);
    int bx = RoundPixel(x1 + dx * to / length), by = RoundPixel(y1 + dy * to / length);
    // A dash shorter than a pixel still prints its dot.
    if (ax == bx && ay == by) bx += 1;
    if (CutToFrame(frame, ax, ay, bx, by)) {
      PlotMoveTo(t, ax, ay);
      PlotLineTo(t, bx, by);
    }
    from = to + 1e-9;
  }
  along_ += length;
}

void WriteCurveNames(const DrawTarget& t, const PaperFrame& frame,
                     const std::vector<CurveEnd>& ends, std::vector<TextBox> taken) {
  std::vector<TextBox>& written = taken;
  const auto covers = [&written](const TextBox& b) {
    return std::any_of(written.begin(), written.end(), [&b](const TextBox& o) {
      return b.X < o.X + o.W && o.X < b.X + b.W && b.Y < o.Y + o.H && o.Y < b.Y + b.H;
    });
  };
  for (const CurveEnd& end : ends) {
    if (end.Name.empty()) continue;
    const int w = TextWidth(t, end.Name);
    const int h = TextHeight(t, end.Name);
    const int x = std::max(frame.Left, end.X - w - 3);
    // Above the end, then up to three lines higher; failing that below it,
    // then lower: the first place inside the frame that covers no other
    // text, else just above the end.
    constexpr int lines = 4;
    TextBox b{x, end.Y - h - 2, w, h};
    for (int n = 0; n < 2 * lines; ++n) {
      const int y = n < lines ? end.Y - h - 2 - n * h : end.Y + 2 + (n - lines) * h;
      const TextBox c{x, y, w, h};
      if (y >= frame.Top && y + h <= frame.Bottom && !covers(c)) {
        b = c;
        break;
      }
    }
    written.push_back(b);
    UseColour(t, end.Colour);
    PlotText(t, b.X, b.Y, end.Name);
  }
  UseColour(t, kBlack);
}

std::string ProductName(const bool ticked[3]) {
  const int count = int{ticked[0]} + int{ticked[1]} + int{ticked[2]};
  return count >= 2 ? ProductCaption(ticked) : std::string();
}

}  // namespace tv
