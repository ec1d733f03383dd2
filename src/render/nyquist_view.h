// The Nyquist picture: the loci and their mirrors on a scale compressed far from -1, the critical
// point, the unit circle, the margins and the verdict.
#pragma once

#include <complex>
#include <string>
#include <vector>

#include "analysis/nyquist.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"

namespace tv {

// From the H plane to the picture: magnitudes beyond Radius are compressed
// into (Radius, 2 Radius), smoothly, so that the arcs at infinity stay in
// view; Radius 0 is a linear scale.
struct NyquistFrame {
  int Left = 0, Right = 0, Top = 0, Bottom = 0;
  double Radius = 0;
  double CentreX = 0, CentreY = 0;  // the compressed plane's point at the frame's centre
  double PixelsPerUnit = 1;

  std::complex<double> Compressed(std::complex<double> h) const;
  double X(std::complex<double> h) const;
  double Y(std::complex<double> h) const;
};

// The frame the picture uses for these loci on a picture of this size;
// textHeight is the font's cell. zoom shows -2 ... +1 on both axes, at
// their true scale.
NyquistFrame NyquistFrameOf(const NyquistPicture& n, int width, int height, int textHeight,
                            bool zoom);

// Draws the loci on the target picture
// (DrawCanvas, ScreenCanvas, PlotWidth, PlotHeight, pen widths, ForceBlack),
// cleared first. For each curve in its colour: H(jw) for w > 0 solid, its
// mirror dotted, arrows towards increasing w, the decades marked; the axes,
// -1 crossed, the unit circle dotted; the loop's margins (when n has its
// read-outs) and its verdict at the top. A picture that is not Drawn is said
// in one line. Gives the frame used.
NyquistFrame DrawNyquistView(const DrawTarget& picture, const NyquistPicture& n, bool zoom);

// The point of one curve nearest to a pixel of the picture.
struct NyquistNearest {
  std::string Name;
  Rgb Colour;
  NyquistPoint Point;   // for the mirror, w < 0 and H conjugated
  double Distance = 0;  // in pixels
};

// For each drawn curve, its point nearest to (x, y), on the locus or its
// mirror.
std::vector<NyquistNearest> NearestPoints(const NyquistPicture& n, const NyquistFrame& f, int x,
                                          int y);

}  // namespace tv
