// What the Nyquist picture says in words: the verdict, the line said instead of a locus.
#pragma once

#include <string>
#include <vector>

#include "analysis/nyquist.h"

namespace tv {

// The verdict's lines as drawn, Windows-1252: "P = .., N = .., Z = N + P = ..",
// then stable, unstable or limit, then the simplified criterion when P = 0.
std::vector<std::string> NyquistVerdictTexts(const NyquistVerdict& v);

// The one line said instead of a locus (Windows-1252); empty for Drawn.
std::string NyquistOutcomeText(NyquistOutcome outcome);

// A French text (UTF-8, as tv::Tr gives it) as the pictures' Windows-1252
// bytes; a character outside it becomes '?'.
std::string PictureText(const std::string& utf8);

}  // namespace tv
