// The drawn text of a margin record: its kind, its curve, its value and pulsation.
#include "render/margin_record.h"

#include "core/format.h"
#include "core/translate.h"

namespace tv {

std::string MarginValueText(double value, double w) {
  return FormatReal(value) + Tr("Margins", " en w= ") + FormatReal(w);
}

std::string MarginText(const MarginRecord& r) {
  std::string text = r.Kind == MarginKind::Phase ? Tr("Margins", "MP") : Tr("Margins", "MG");
  if (r.Slot == 4)
    text += r.Black ? Tr("Margins", " globale : ") : Tr("Margins", " globale: ");
  else
    text += IntegerText(r.Slot) + ": ";
  return text + MarginValueText(r.Value, r.W);
}

}  // namespace tv
