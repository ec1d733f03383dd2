// Ticking curves in the document, the product's caption, a loaded work shown.
#include "core/selection.h"

#include "core/diagram_host.h"

namespace tv {

void SetCurveTicked(DiagramState& s, int box, bool ticked) {
  if (box < 1 || box > 4) return;
  bool& current = s.CurveTicked[static_cast<std::size_t>(box - 1)];
  if (current == ticked) return;
  current = ticked;
  if (s.Host) s.Host->CurveTickChanged(box);
}

std::string ProductCaption(const bool ticked[3]) {
  std::string caption;
  for (int k = 0; k < 3; ++k) {
    if (!ticked[k]) continue;
    if (!caption.empty()) caption += '.';
    caption += "H" + std::to_string(k + 1);
  }
  return caption;
}

void ShowLoadedWork(DiagramState& s, const DiagramState& loaded) {
  if (s.Host) s.Host->ClearPicture();
  s.NumText = loaded.NumText;
  s.DenText = loaded.DenText;
  s.CurveEnabled = loaded.CurveEnabled;
  s.DecadeMin = loaded.DecadeMin;
  s.DecadeMax = loaded.DecadeMax;
  s.GainMinDb = loaded.GainMinDb;
  s.GainMaxDb = loaded.GainMaxDb;
  s.ParamK = loaded.ParamK;
  s.ParamT = loaded.ParamT;
  s.ParamA = loaded.ParamA;
  s.ParamB = loaded.ParamB;
  s.ParamW = loaded.ParamW;
  s.ParamKsi = loaded.ParamKsi;
  for (int box = 1; box <= 4; ++box)
    SetCurveTicked(s, box, loaded.CurveTicked[static_cast<std::size_t>(box - 1)]);
  if (s.Host) {
    s.Host->UpdateProductCaption();
    s.Host->Redraw();
    s.Host->RefreshParameterCaptions();
    s.Host->RefreshParameterAvailability();
  }
}

}  // namespace tv
