// The part of a segment inside a rectangle of the picture (Liang-Barsky).
#pragma once

namespace tv {

// Cuts the segment (x1, y1)-(x2, y2) to the rectangle left..right, top..bottom
// in place; false when no part of it lies inside.
bool ClipSegment(int left, int top, int right, int bottom, double& x1, double& y1, double& x2,
                 double& y2);

}  // namespace tv
