// The time response's read-outs, notes and outcomes in words, Windows-1252, numbers by
// FormatBounded.
#include "render/step_texts.h"

#include <numbers>

#include "core/format.h"
#include "core/translate.h"

namespace tv {

std::vector<std::string> StepReadoutTexts(const StepResponse& r) {
  std::vector<std::string> lines;
  if (r.Outcome != StepOutcome::Drawn) return lines;
  const StepReadouts& o = r.Readouts;
  switch (o.Kind) {
    case StepKind::Unstable:
      if (o.StabilityLimit) {
        lines.push_back(Tr("StepResponse", "Valeur finale : limite de stabilit\xE9"));
        lines.push_back(Tr("StepResponse", "oscillation entretenue : w= ") +
                        FormatBounded(o.OscillationW) + Tr("StepResponse", " rad/s, p\xE9riode ") +
                        FormatBounded(2 * std::numbers::pi / o.OscillationW) + " s");
      } else {
        lines.push_back(Tr("StepResponse", "Valeur finale : instable"));
      }
      return lines;
    case StepKind::Ramp:
      lines.push_back(Tr("StepResponse", "Valeur finale : rampe de vitesse ") +
                      FormatBounded(o.Velocity) + " /s");
      return lines;
    case StepKind::Settles: break;
  }
  lines.push_back(Tr("StepResponse", "Valeur finale : ") + FormatBounded(o.FinalValue));
  if (o.FinalValue == 0) return lines;
  lines.push_back(
      o.HasOvershoot
          ? Tr("StepResponse", "D\xE9passement D% : ") + FormatBounded(o.OvershootPercent) +
                Tr("StepResponse", " % en t= ") + FormatBounded(o.PeakTime) + " s"
      : o.PeakBeyondSpan ? Tr("StepResponse", "D\xE9passement D% : pic au-del\xE0 de ") +
                               FormatBounded(r.TMax) + " s"
                         : Tr("StepResponse", "D\xE9passement D% : aucun"));
  if (o.HasSettling)
    lines.push_back(Tr("StepResponse", "Temps de r\xE9ponse \xE0 5 % : ") +
                    (o.SettledInSpan
                         ? FormatBounded(o.SettlingTime) + " s"
                         : Tr("StepResponse", "au-del\xE0 de ") + FormatBounded(r.TMax) + " s"));
  if (o.HasRise)
    lines.push_back(Tr("StepResponse", "Temps de mont\xE9"
                                       "e 10-90 % : ") +
                    FormatBounded(o.RiseEnd - o.RiseStart) + " s");
  return lines;
}

std::vector<std::string> StepNoteTexts(const StepResponse& r) {
  std::vector<std::string> notes;
  if (r.Outcome != StepOutcome::Drawn) return notes;
  if (r.RequestedTMax > 0)
    notes.push_back(Tr("StepResponse", "t max ramen\xE9 de ") + FormatBounded(r.RequestedTMax) +
                    Tr("StepResponse", " \xE0 ") + FormatBounded(r.TMax) + " s");
  if (r.TooFastToDraw)
    notes.push_back(Tr("StepResponse", "oscillation trop rapide pour le trac\xE9"));
  return notes;
}

std::string StepOutcomeText(StepOutcome outcome) {
  switch (outcome) {
    case StepOutcome::Drawn: return {};
    case StepOutcome::NoFunction:
      return Tr("StepResponse", "Aucune fonction coch\xE9"
                                "e : rien \xE0 tracer");
    case StepOutcome::Invalid:
      return Tr("StepResponse", "Une fonction coch\xE9"
                                "e est invalide : rien n'est trac\xE9");
    case StepOutcome::ZeroDenominator:
      return Tr("StepResponse", "D\xE9nominateur nul : la fonction de transfert n'existe pas");
    case StepOutcome::Improper:
      return Tr("StepResponse",
                "Num\xE9rateur de degr\xE9 sup\xE9rieur au d\xE9nominateur : la r\xE9ponse "
                "contient un Dirac, rien n'est trac\xE9");
    case StepOutcome::LoopUndefined:
      return Tr("StepResponse", "1+H est identiquement nul : la boucle ferm\xE9"
                                "e n'est pas d\xE9"
                                "finie");
    case StepOutcome::Overflow:
      return Tr("StepResponse", "Coefficients trop extr\xEAmes : le calcul d\xE9passe les nombres "
                                "repr\xE9sentables");
  }
  return {};
}

std::vector<std::string> InputReadoutTexts(const InputResponse& r) {
  if (r.Input == InputKind::Step) return StepReadoutTexts(r.Samples);
  std::vector<std::string> lines;
  if (r.Samples.Outcome != StepOutcome::Drawn) return lines;
  if (r.Input == InputKind::Ramp) {
    switch (r.Tracking) {
      case TrackingError::Finite:
        lines.push_back(Tr("TimeResponse", "Erreur de tra\xEEnage : ") +
                        FormatBounded(r.TrackingValue));
        break;
      case TrackingError::Infinite:
        lines.push_back(Tr("TimeResponse", "Erreur de tra\xEEnage : infinie"));
        break;
      case TrackingError::Zero:
        lines.push_back(Tr("TimeResponse", "Erreur de tra\xEEnage : nulle"));
        break;
      case TrackingError::Unstable:
        lines.push_back(
            Tr("TimeResponse", "Erreur de tra\xEEnage : aucune, la r\xE9ponse est instable"));
        break;
    }
    return lines;
  }
  if (r.Unstable)
    lines.push_back(Tr("TimeResponse", "R\xE9ponse impulsionnelle instable"));
  else if (r.HasPeak)
    lines.push_back(Tr("TimeResponse", "Pic : ") + FormatBounded(r.PeakValue) +
                    Tr("TimeResponse", " en t= ") + FormatBounded(r.PeakTime) + " s");
  if (r.DiracWeight != 0)
    lines.push_back(Tr("TimeResponse", "Plus un Dirac de poids ") + FormatBounded(r.DiracWeight) +
                    Tr("TimeResponse", " en t= 0 (non trac\xE9)"));
  return lines;
}

}  // namespace tv
