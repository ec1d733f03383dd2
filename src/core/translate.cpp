// The one switch between the French texts as written and a translation installed at start.
#include "core/translate.h"

namespace tv {

namespace {
Translator g_translator = nullptr;
}

void SetTranslator(Translator translator) { g_translator = translator; }

std::string Tr(const char* context, const char* text) {
  if (g_translator == nullptr) return text;
  return g_translator(context, text);
}

}  // namespace tv
