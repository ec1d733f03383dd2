// The part of a segment inside a rectangle of the picture (Liang-Barsky).
#include "render/clip.h"

#include <algorithm>

namespace tv {

bool ClipSegment(int left, int top, int right, int bottom, double& x1, double& y1, double& x2,
                 double& y2) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  x2 = x1 + t1 * dx;
  y2 = y1 + t1 * dy;
  x1 += t0 * dx;
  y1 += t0 * dy;
  return true;
}

}  // namespace tv
