// The gain scale set from its top, and the margin search that brings back both curves.
#include "core/display_rules.h"

namespace tv {

void SetGainScaleTop(DiagramState& s, std::int32_t topDb) {
  s.GainMaxDb = topDb;
  s.GainMinDb = 10 - topDb;
}

void SearchMargins(DiagramState& s) {
  s.ShowMargins = 1;
  s.BodeMode = 2;
}

}  // namespace tv
