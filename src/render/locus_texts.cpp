// The locus's read-outs in words: the current closed-loop poles with Ksi and wn, which dominate,
// the stability range, the degenerate cases.
#include "render/locus_texts.h"

#include <cmath>
#include <cstdint>

#include "core/format.h"
#include "core/translate.h"

namespace tv {

namespace {

// The translated text (UTF-8) as the picture writes it: Windows-1252, whose
// upper half holds the French letters at their Unicode values.
std::string Text(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      const unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
      out += code < 0x100 ? static_cast<char>(code) : '?';
    } else {
      // A longer sequence has no place in Windows-1252's Latin-1 half.
      while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
      out += '?';
    }
  }
  return out;
}

std::string Name(Parameter p) { return std::string(Info(p).Name); }

std::string Number(double x) { return FormatRealFine(x); }

}  // namespace

std::string PoleText(std::complex<double> r) {
  if (r.imag() == 0) return FormatReal(r.real());
  return FormatReal(r.real()) + " \xB1 j" + FormatReal(std::abs(r.imag()));
}

std::string LocusOutcomeText(const Locus& l) {
  switch (l.Outcome) {
    case LocusOutcome::Drawn: return {};
    case LocusOutcome::NoFunction:
      return Text(Tr("Locus", "Aucune fonction cochée : rien à tracer"));
    case LocusOutcome::Invalid:
      return Text(Tr("Locus", "Une fonction cochée est invalide : rien n'est tracé"));
    case LocusOutcome::Unused:
      return Name(l.Param) + Text(Tr("Locus", " n'apparaît dans aucune fonction cochée"));
    case LocusOutcome::Vanishes:
      return Text(Tr("Locus", "1+H est identiquement nul de ")) + Name(l.Param) + " = " +
             Number(l.From) + Text(Tr("Locus", " à ")) + Number(l.To) +
             Text(Tr("Locus", " : la boucle fermée n'est pas définie"));
  }
  return {};
}

std::vector<std::string> LocusPoleLines(const LocusPoles& p, Parameter param) {
  std::vector<std::string> lines;
  if (!p.Ok) return lines;
  lines.push_back(Text(Tr("Locus", "Pôles en boucle fermée pour ")) + Name(param) + " = " +
                  Number(p.Value) + " :");
  for (const std::complex<double>& r : p.Closed) {
    if (r.imag() < 0) continue;
    std::string line = "  " + PoleText(r);
    if (r.imag() > 0)
      line += "   Ksi = " + FormatReal(-r.real() / std::abs(r)) +
              ", wn = " + FormatReal(std::abs(r)) + " rad/s";
    lines.push_back(line);
  }
  if (p.Closed.empty()) lines.push_back(Text(Tr("Locus", "  aucun (1+H sans racine)")));
  const Dominance d = DominantPoles(p.Closed);
  if (d.Poles.empty()) return lines;
  int unstable = 0;
  for (const std::complex<double>& r : p.Closed)
    if (!(r.real() < 0)) ++unstable;
  if (unstable > 0) {
    lines.push_back(Text(Tr("Locus", "Instable : ")) + std::to_string(unstable) +
                    Text(Tr("Locus", " pôle(s) à partie réelle positive ou nulle")));
  } else {
    std::string line =
        Text(d.Poles.size() == 2 ? Tr("Locus", "Dominants : ") : Tr("Locus", "Dominant : ")) +
        PoleText(d.Poles.front());
    if (d.Ratio > 0)
      line += Text(Tr("Locus", " (les suivants ")) + FormatReal(d.Ratio) +
              Text(Tr("Locus", " fois plus loin de l'axe)"));
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> LocusRangeLines(const Locus& l) {
  std::vector<std::string> lines;
  if (l.Outcome != LocusOutcome::Drawn) return lines;
  const std::string name = Name(l.Param);
  for (const StableInterval& i : l.Stable)
    lines.push_back(Text(Tr("Locus", "Stable pour ")) + Number(i.Low) +
                    (i.LowIncluded ? " <= " : " < ") + name + (i.HighIncluded ? " <= " : " < ") +
                    Number(i.High));
  if (l.Stable.empty())
    lines.push_back(Text(Tr("Locus", "Instable pour ")) + Number(l.From) + " <= " + name +
                    " <= " + Number(l.To));
  for (const LocusCrossing& c : l.Crossings)
    lines.push_back(Text(Tr("Locus", "Axe imaginaire franchi pour ")) + name + " = " +
                    Number(c.Value) + Text(Tr("Locus", " en w = ")) + Number(c.Omega) + " rad/s");
  for (double v : l.Vanishing)
    lines.push_back(Text(Tr("Locus", "1+H est identiquement nul pour ")) + name + " = " +
                    Number(v));
  for (double v : l.DegreeDrops)
    lines.push_back(Text(Tr("Locus", "Le degré de 1+H baisse pour ")) + name + " = " + Number(v) +
                    Text(Tr("Locus", " : une branche part à l'infini")));
  for (double v : l.Overflows)
    lines.push_back(Text(Tr("Locus", "Les racines sortent des nombres représentables pour ")) +
                    name + " = " + Number(v));
  return lines;
}

}  // namespace tv
