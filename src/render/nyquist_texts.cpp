// The Nyquist verdict and outcomes in words, as the pictures' Windows-1252 bytes.
#include "render/nyquist_texts.h"

#include "core/format.h"
#include "core/translate.h"

namespace tv {

std::string PictureText(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    unsigned code = c;
    std::size_t length = 1;
    if (c >= 0xF0)
      length = 4;
    else if (c >= 0xE0)
      length = 3;
    else if (c >= 0xC0)
      length = 2;
    if (length > 1) {
      code = c & (0x3F >> (length - 1));
      for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
        code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += length;
    if (code == 0x2212)
      out += '-';  // the minus sign
    else if (code == 0x2019)
      out += '\x92';
    else
      out += code < 0x100 ? static_cast<char>(code) : '?';
  }
  return out;
}

std::vector<std::string> NyquistVerdictTexts(const NyquistVerdict& v) {
  std::vector<std::string> lines;
  std::string counts = "P = " + std::to_string(v.OpenLoopRhp) + ", N = ";
  if (v.Encirclements)
    counts += std::to_string(*v.Encirclements) + ", Z = N + P = ";
  else
    counts += PictureText(Tr("Nyquist", "indéfini")) + ", Z = ";
  counts += std::to_string(v.ClosedLoopRhp);
  lines.push_back(counts);
  if (v.LimitW) {
    lines.push_back(PictureText(Tr("Nyquist", "Limite de stabilité")) + " : " +
                    PictureText(Tr("Nyquist", "pôle en boucle fermée en w= ")) +
                    FormatReal(*v.LimitW) + " rad/s");
  } else if (v.ClosedLoopRhp == 0) {
    lines.push_back(PictureText(Tr("Nyquist", "Boucle fermée stable")));
  } else {
    lines.push_back(PictureText(Tr("Nyquist", "Boucle fermée instable")) + " : " +
                    std::to_string(v.ClosedLoopRhp) + " " +
                    PictureText(Tr("Nyquist", "pôle(s) à partie réelle positive")));
  }
  if (!v.RootsAgree)
    lines.back() += " " + PictureText(Tr("Nyquist", "(les racines de D+N en donnent ")) +
                    std::to_string(v.RootsRhp) + ")";
  if (v.CriticalOnLeft)
    lines.push_back(PictureText(*v.CriticalOnLeft
                                    ? Tr("Nyquist", "critère du revers : -1 est laissé à gauche")
                                    : Tr("Nyquist", "critère du revers : -1 est laissé à droite")));
  return lines;
}

std::string NyquistOutcomeText(NyquistOutcome outcome) {
  switch (outcome) {
    case NyquistOutcome::Drawn: return {};
    case NyquistOutcome::NoFunction:
      return PictureText(Tr("Nyquist", "Aucune fonction cochée : rien à tracer"));
    case NyquistOutcome::Invalid:
      return PictureText(Tr("Nyquist", "Une fonction cochée est invalide : rien n'est tracé"));
    case NyquistOutcome::ZeroDenominator:
      return PictureText(Tr("Nyquist", "Dénominateur nul : la fonction de transfert n'existe pas"));
    case NyquistOutcome::LoopUndefined:
      return PictureText(
          Tr("Nyquist", "1+H est identiquement nul : la boucle fermée n'est pas définie"));
    case NyquistOutcome::Overflow:
      return PictureText(Tr("Nyquist", "Coefficients trop extrêmes : le calcul dépasse les nombres "
                                       "représentables"));
  }
  return {};
}

}  // namespace tv
