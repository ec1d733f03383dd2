// The texts the user reads, in the language chosen at start: French as written unless a translator
// is set.
#pragma once

#include <string>

namespace tv {

// Gives the text of `text` (UTF-8, French) in the chosen language, or the
// French text itself when it has no translation. Set once at start by the
// windows' layer; the Qt-free core knows no language of its own.
using Translator = std::string (*)(const char* context, const char* text);

// nullptr restores French (the texts as written).
void SetTranslator(Translator translator);

// The French text `text` in the chosen language. `context` groups the texts
// of one window or picture, as Qt Linguist shows them; both are literals so
// that the translation tools find them in the sources.
std::string Tr(const char* context, const char* text);

}  // namespace tv
