// The margins a picture's sweep found, as numbers, and the one text each is drawn as.
#pragma once

#include <cstdint>
#include <string>

namespace tv {

enum class MarginKind : std::uint8_t {
  Phase,  // where the gain crosses 0 dB ("MP")
  Gain,   // where the phase crosses -180 degrees ("MG")
};

// One margin found between two samples of a drawn curve, in drawing order.
struct MarginRecord {
  int Slot = 0;  // 1..3 for H1..H3, 4 for the product
  MarginKind Kind = MarginKind::Phase;
  double Value = 0;  // degrees for a phase margin, dB for a gain margin
  double W = 0;      // the pulsation of the sample, rad/s
  // Found in the Black view, whose product text reads "MP globale : ".
  bool Black = false;
};

// "51.8 en w= 0.786": the value and the pulsation as the picture writes them.
std::string MarginValueText(double value, double w);

// The text the picture writes for a margin: "MP1: 51.8 en w= 0.786",
// "MG globale: 6.1 en w= 1.739" (Bode) or "MP globale : ..." (Black).
std::string MarginText(const MarginRecord& r);

}  // namespace tv
