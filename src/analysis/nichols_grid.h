// The closed-loop contours of the Black-Nichols chart: open-loop points of constant |H/(1+H)| and
// of constant arg(H/(1+H)).
#pragma once

#include <array>
#include <vector>

namespace tv {

// The closed-loop gains (dB) and phases (degrees) the chart shows.
inline constexpr std::array<double, 9> kIsoGainsDb = {-12, -6, -3, -1, 0, 1, 3, 6, 12};
inline constexpr std::array<double, 9> kIsoPhasesDeg = {-5,  -10, -20,  -30, -45,
                                                        -60, -90, -120, -150};

// An open-loop point of the Black plane.
struct ChartPoint {
  double PhaseDeg = 0;
  double GainDb = 0;
};

struct ChartContour {
  bool IsoGain = true;  // constant closed-loop gain; otherwise constant closed-loop phase
  double Value = 0;     // the closed-loop gain in dB, or the closed-loop phase in degrees
  // One line, its phase continuous, within (-360, 0] degrees; straight
  // between points to a small fraction of the chart.
  std::vector<ChartPoint> Points;
};

// Every contour of the chart: one per closed-loop gain; per closed-loop phase
// p, the line of p right of -180 degrees and its mirror image left of it,
// which is the line of -360 - p. Gains are followed down to lowDb and up to
// highDb (beyond them the lines leave the chart). The same every call.
std::vector<ChartContour> NicholsContours(double lowDb, double highDb);

}  // namespace tv
