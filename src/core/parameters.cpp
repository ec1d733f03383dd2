// The parameter table's look-up by name; which of the six parameters the function texts use: a
// plain letter search.
#include "core/parameters.h"

#include <string>

namespace tv {

namespace {

// Upper-cased copy; only the ASCII letters a..z change, other bytes stay.
std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The K of KSI names the damping, not the gain: hide it from the K search.
void MaskKsi(std::string& text) {
  for (std::size_t pos = text.find("KSI"); pos != std::string::npos;
       pos = text.find("KSI", pos + 1))
    text[pos] = 'Q';
}

bool TextUses(std::string_view text, std::string_view name) {
  std::string copy = UpperAscii(text);
  if (name == "K") MaskKsi(copy);
  return copy.find(name) != std::string::npos;
}

}  // namespace

bool IsParameterUsed(const DiagramState& s, std::string_view name) {
  for (int i = 0; i < 3; ++i) {
    if (TextUses(s.NumText[i].View(), name)) return true;
    if (TextUses(s.DenText[i].View(), name)) return true;
  }
  return false;
}

const ParameterInfo* FindParameter(std::string_view name) {
  for (const ParameterInfo& info : kParameters) {
    if (info.ExpressionName.size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < name.size() && same; ++k) {
      char c = name[k];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      same = c == info.ExpressionName[k];
    }
    if (same) return &info;
  }
  return nullptr;
}

}  // namespace tv
