// The breaks and initial slope of a curve in words, Windows-1252.
#include "render/asymptote_texts.h"

#include "core/format.h"
#include "core/translate.h"

namespace tv {

std::vector<std::string> BreaksWindowLines(const Curve& c, const CurveAsymptotes& a) {
  std::vector<std::string> lines;
  if (!a.Valid) {
    lines.push_back(c.Name +
                    Tr("Asymptotes", " : pas d'asymptotes (num\xE9rateur ou d\xE9nominateur nul)"));
    return lines;
  }
  lines.push_back(c.Name + Tr("Asymptotes", " : pente initiale ") +
                  FormatBounded(a.InitialSlopeDbPerDecade()) +
                  Tr("Asymptotes", " dB/d\xE9"
                                   "cade (classe ") +
                  IntegerText(a.Class) + ")");
  if (a.Breaks.empty()) lines.push_back(Tr("Asymptotes", "  aucune cassure"));
  for (const Break& b : a.Breaks) {
    std::string line = "  w = " + FormatBounded(b.W, true) + " rad/s : " +
                       (b.Pole ? Tr("Asymptotes", "p\xF4le") : Tr("Asymptotes", "z\xE9ro")) +
                       Tr("Asymptotes", " d'ordre ") + IntegerText(b.Order);
    if (b.Ksi) line += ", Ksi = " + FormatBounded(*b.Ksi, true);
    if (const std::optional<double> r = b.ResonanceDb())
      line += Tr("Asymptotes", ", r\xE9sonance ") + FormatBounded(*r) + " dB";
    if (b.RightHalfPlane)
      line += Tr("Asymptotes", " (partie r\xE9"
                               "elle positive)");
    lines.push_back(line);
  }
  return lines;
}

}  // namespace tv
