// Defaults of the diagram state and the text record helpers.
#include "core/diagram_state.h"

#include <algorithm>
#include <cstring>

#include "core/diagram_host.h"

namespace tv {

std::string_view FunctionText::View() const {
  const std::size_t n = std::min<std::size_t>(Length, kFunctionTextMax);
  return std::string_view(Chars, n);
}

void FunctionText::Assign(std::string_view text) {
  const std::size_t n = std::min<std::size_t>(text.size(), kFunctionTextMax);
  std::memcpy(Chars, text.data(), n);
  Length = static_cast<std::uint8_t>(n);
}

void ResetDiagram(DiagramState& s) {
  s.DecadeMin = -1;
  s.DecadeMax = 3;
  s.GainMinDb = -40;
  s.GainMaxDb = 50;
  for (int i = 0; i < 3; ++i) {
    s.NumCoeffs[i] = {1, 0, 0, 0, 0, 0};
    s.DenCoeffs[i] = {1, 0, 0, 0, 0, 0};
    s.NumText[i].Assign("1");
    s.DenText[i].Assign("1");
  }
  s.ParamA = 1.0;
  s.ParamT = 1.0;
  s.ParamK = 1.0;
  s.ParamB = 1.0;
  s.ParamKsi = 1.0;
  s.ParamW = 1.0;
  if (s.Host) s.Host->RefreshParameterCaptions();
}

void SetStartValues(DiagramState& s) {
  s.CapturePoints = 0;
  DiagramHost* host = s.Host;
  s.Host = nullptr;  // captions do not exist yet
  ResetDiagram(s);
  s.Host = host;
  s.BodeMode = 2;
  s.ShowMargins = 0;
  s.BlackView = 0;
  s.TempDir = "/tmp/";
  s.MapleFileLetter = 'a';
}

void AlarmBeep(DiagramHost* host) {
  if (!host) return;
  for (int i = 0; i < 20; ++i) host->Beep();
}

}  // namespace tv
