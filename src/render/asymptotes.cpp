// The asymptotic Bode diagram drawn over the curves: dashed gain and phase asymptotes, break marks.
#include "core/translate.h"
#include "render/asymptotes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/asymptotes.h"
#include "analysis/curves.h"
#include "core/format.h"
#include "render/primitives.h"
#include "response/response.h"

namespace tv {

namespace {

// Dash and gap lengths in pixels of a 1-pixel pen: long enough to tell from
// the dotted phase curves, short enough to follow a 20 dB per decade slope.
// A printer's wider pen lengthens them in proportion.
constexpr double kDash = 7;
constexpr double kGap = 4;
constexpr int kTickHalf = 6;

struct Point {
  double X, Y;
};

// The plot area the asymptotes may cover: the sweep's columns, and rows the
// vertical rejection of PlotLine lets through.
struct Box {
  double Left, Right, Top, Bottom;
};

// Cuts the segment a-b to the box (Liang-Barsky); false when nothing is left.
bool Clip(const Box& box, Point a, Point b, double& t0, double& t1) {
  t0 = 0;
  t1 = 1;
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.X - box.Left, box.Right - a.X, a.Y - box.Top, box.Bottom - a.Y};
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
  }
  return t0 < t1;
}

// A dashed polyline drawn as short solid segments, the pattern running on
// from one segment to the next; only the part inside the box is drawn, so
// an asymptote that leaves the plot costs no dashes.
class DashedPath {
 public:
  DashedPath(const DrawTarget& t, const Box& box)
      : t_(t), box_(box), scale_(std::max(1, t.FramePenWidth)) {}

  void LineTo(Point b) {
    if (!started_) {
      at_ = b;
      started_ = true;
      return;
    }
    const Point a = at_;
    at_ = b;
    if (!std::isfinite(a.X) || !std::isfinite(a.Y) || !std::isfinite(b.X) || !std::isfinite(b.Y))
      return;
    const double length = std::hypot(b.X - a.X, b.Y - a.Y);
    const double start = travelled_;
    travelled_ += length;
    double t0 = 0, t1 = 0;
    if (length == 0 || !Clip(box_, a, b, t0, t1)) return;
    const double dash = kDash * scale_;
    const double period = (kDash + kGap) * scale_;
    const double from = start + t0 * length;
    const double to = start + t1 * length;
    for (double d = std::floor(from / period) * period; d < to; d += period) {
      const double u0 = (std::max(d, from) - start) / length;
      const double u1 = (std::min(d + dash, to) - start) / length;
      if (u1 <= u0) continue;
      PlotLine(t_, RoundPixel(a.X + u0 * (b.X - a.X)), RoundPixel(a.Y + u0 * (b.Y - a.Y)),
               RoundPixel(a.X + u1 * (b.X - a.X)), RoundPixel(a.Y + u1 * (b.Y - a.Y)));
    }
  }

 private:
  const DrawTarget& t_;
  Box box_;
  double scale_;
  Point at_{0, 0};
  bool started_ = false;
  double travelled_ = 0;
};

// The phase the sweep draws for the curve at w, in degrees: each function's
// difference of two angles in [0, 2pi), summed over the product's factors.
double DrawnPhaseDeg(const DiagramState& s, const Curve& c, double w) {
  const double w2 = w * w;
  double phase = 0;
  for (int i : c.Factors) {
    const CoefficientSet& num = s.NumCoeffs[static_cast<std::size_t>(i)];
    const CoefficientSet& den = s.DenCoeffs[static_cast<std::size_t>(i)];
    phase += PhaseAngle(RealPartAt(num, w2), ImagPartAt(num, w, w2)) -
             PhaseAngle(RealPartAt(den, w2), ImagPartAt(den, w, w2));
  }
  return phase * 180 / std::numbers::pi;
}

// Label blocks already written under the 0 dB line, so that breaks close
// together stack their values instead of writing over each other.
struct LabelBlock {
  int Left, Right, Top, Bottom;
};

void DrawBreakMark(const DrawTarget& t, const FrameResult& f, const Break& b, int x,
                   std::vector<LabelBlock>& placed) {
  const int mid = f.MidY;
  SetPen(t, PenStyle::Solid, t.FramePenWidth);
  PlotLine(t, x, mid - kTickHalf, x, mid + kTickHalf);

  std::vector<std::string> lines = {FormatBounded(b.W)};
  if (b.Ksi) lines.push_back("Ksi=" + FormatBounded(*b.Ksi));
  if (const std::optional<double> r = b.ResonanceDb())
    lines.push_back(Tr("Asymptotes", "r\xE9sonance ") + FormatBounded(*r) + " dB");
  const int th = TextHeight(t, "1");
  int width = 0;
  for (const std::string& line : lines) width = std::max(width, TextWidth(t, line));
  LabelBlock block{std::max(x - width / 2, 32), 0, mid + kTickHalf + 2, 0};
  block.Right = block.Left + width;
  const int height = th * static_cast<int>(lines.size());
  for (bool moved = true; moved;) {
    moved = false;
    block.Bottom = block.Top + height;
    for (const LabelBlock& other : placed)
      if (block.Left <= other.Right && other.Left <= block.Right && block.Top <= other.Bottom &&
          other.Top <= block.Bottom) {
        block.Top = other.Bottom + 1;
        moved = true;
      }
  }
  block.Bottom = block.Top + height;
  placed.push_back(block);
  for (std::size_t k = 0; k < lines.size(); ++k)
    PlotText(t, block.Left, block.Top + th * static_cast<int>(k), lines[k]);
}

}  // namespace

void DrawBodeAsymptotes(const DiagramState& s, const DrawTarget& t, const FrameResult& f) {
  const std::int64_t D = static_cast<std::int64_t>(s.DecadeMax) - s.DecadeMin;
  if (s.BlackView != 0 || t.PlotWidth <= 60 || D <= 0) return;
  const double N = t.PlotWidth - 60;
  const double decadeMin = s.DecadeMin;
  const double pixelsPerDecade = N / static_cast<double>(D);
  const auto columnOf = [&](double w) {
    return 30 + (std::log10(w) - decadeMin) * pixelsPerDecade;
  };
  const double wLeft = std::pow(10.0, decadeMin);
  const double wRight = std::pow(10.0, static_cast<double>(s.DecadeMax));
  // On paper, inside the frame the curves keep to: down to the decade lines' end.
  const Box box{30, 30 + N, t.OnPaper ? 5.0 : 1.0,
                static_cast<double>(t.PlotHeight) - (t.OnPaper ? 40 : 1)};
  const bool gain = s.BodeMode == 0 || s.BodeMode == 2;
  const bool phase = s.BodeMode == 1 || s.BodeMode == 2;
  const double mid = f.MidY;
  const double radPerDeg = std::numbers::pi / 180;

  std::vector<LabelBlock> placed;
  // Each function's roots are found once; the product reuses them.
  std::array<CurveAsymptotes, 3> functions;
  for (const Curve& c : DrawnCurves(s)) {
    CurveAsymptotes a;
    if (c.Product) {
      std::vector<CurveAsymptotes> factors;
      for (int i : c.Factors) factors.push_back(functions[static_cast<std::size_t>(i)]);
      a = ProductAsymptotes(factors);
    } else {
      a = AsymptotesOf(s, c);
      functions[static_cast<std::size_t>(c.Factors.front())] = a;
    }
    if (!a.Valid) continue;
    // The breaks inside the axis, each pulsation once.
    std::vector<double> corners;
    for (const Break& b : a.Breaks)
      if (b.W > wLeft && b.W < wRight && (corners.empty() || corners.back() != b.W))
        corners.push_back(b.W);

    UseColour(t, c.Colour);
    SetPen(t, PenStyle::Solid, t.FramePenWidth);
    if (gain) {
      DashedPath path(t, box);
      const auto at = [&](double w) {
        path.LineTo({columnOf(w), mid - a.GainDbAt(w) * f.GainPixelsPerDb});
      };
      at(wLeft);
      for (double w : corners) at(w);
      at(wRight);
    }
    if (phase) {
      // The drawn phase is never unwrapped: the asymptote takes the turn
      // the curve is on at the left edge, so that the two meet there.
      const double turns =
          std::nearbyint((DrawnPhaseDeg(s, c, wLeft) - a.PhaseDegAt(wLeft)) / 360.0);
      const auto rowOf = [&](double deg) {
        return mid - (deg + 360.0 * turns) * radPerDeg * f.PhasePixelsPerRad;
      };
      DashedPath path(t, box);
      double level = a.PhaseDegAt(wLeft);
      path.LineTo({columnOf(wLeft), rowOf(level)});
      for (double w : corners) {
        const double x = columnOf(w);
        path.LineTo({x, rowOf(level)});
        level = a.PhaseDegAt(w);
        path.LineTo({x, rowOf(level)});
      }
      path.LineTo({columnOf(wRight), rowOf(level)});
    }
    // The product's breaks are those of its factors, already marked.
    if (c.Product) continue;
    // A multiple root is marked once.
    double marked = 0;
    for (const Break& b : a.Breaks) {
      if (b.W < wLeft || b.W > wRight || b.W == marked) continue;
      DrawBreakMark(t, f, b, RoundPixel(columnOf(b.W)), placed);
      marked = b.W;
    }
  }
  SetPen(t, PenStyle::Solid, t.FramePenWidth);
  UseColour(t, kBlack);
}

}  // namespace tv
