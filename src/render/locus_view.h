// The picture of the closed-loop locus: branches, open-loop poles and zeros, the current poles, the
// imaginary axis, the Ksi lines and the crossings' values.
#pragma once

#include <complex>
#include <string>
#include <string_view>

#include "analysis/locus.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"

namespace tv {

// Where the plane lies in the picture: equal scales on both axes, so that
// the lines of constant Ksi make their true angle.
struct LocusFrame {
  bool Valid = false;
  int Left = 0, Right = 0, Top = 0, Bottom = 0;
  double CentreRe = 0, CentreIm = 0;
  double Scale = 1;  // pixels per unit
  double X(double re) const { return 0.5 * (Left + Right) + (re - CentreRe) * Scale; }
  double Y(double im) const { return 0.5 * (Top + Bottom) - (im - CentreIm) * Scale; }
  std::complex<double> At(double x, double y) const {
    return {CentreRe + (x - 0.5 * (Left + Right)) / Scale,
            CentreIm - (y - 0.5 * (Top + Bottom)) / Scale};
  }
};

// The frame the picture of this size gives the locus and the markers.
LocusFrame LocusFrameOf(const DrawTarget& picture, const Locus& l, const LocusPoles& poles);

// What does not move while the parameter is stepped, on the picture
// of the target picture, like the step view: cleared,
// then the title and the stability range above the frame, the grid, the
// axes, the Ksi = 0.42 and 0.7 lines dotted and labelled, the branches in
// blue, the crossings with their value in red. caption names the closed loop
// ("H1.H2/(1+H1.H2)"). A locus that is not Drawn is said in its one line.
void DrawLocusBase(const DrawTarget& picture, const Locus& l, const LocusFrame& f,
                   std::string_view caption);

// What a step moves, over the base: the open-loop poles (x) and zeros (o) in
// black, the current closed-loop poles as filled squares in the product's
// colour (black).
void DrawLocusMarkers(const DrawTarget& picture, const Locus& l, const LocusFrame& f,
                      const LocusPoles& poles);

// The frame, the base and the markers: the whole picture, for files and the
// printer. Returns the frame.
LocusFrame DrawLocusView(const DrawTarget& picture, const Locus& l, const LocusPoles& poles,
                         std::string_view caption);

}  // namespace tv
