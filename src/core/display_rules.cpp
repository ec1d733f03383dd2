// The gain scale set from its top, the margin search that brings back both curves, the capture's
// redraw.
#include "core/display_rules.h"

#include "core/diagram_host.h"

namespace tv {

void SetGainScaleTop(DiagramState& s, std::int32_t topDb) {
  s.GainMaxDb = topDb;
  s.GainMinDb = 10 - topDb;
}

void SearchMargins(DiagramState& s) {
  s.ShowMargins = 1;
  s.BodeMode = 2;
}

bool MarginsSearched(const DiagramState& s) { return s.ShowMargins != 0 && s.BodeMode == 2; }

void CaptureProductCurve(DiagramState& s) {
  s.CapturePoints = 1;
  if (s.Host) s.Host->Redraw();
  s.CapturePoints = 0;
}

}  // namespace tv
