// The language of the texts, French or English: chosen from the locale or --lang, installed at
// start.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QCoreApplication;

namespace tv::ui {

enum class Language { French, English };

// The language the environment asks for: the first of LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG that is set and not empty decides; English when it
// begins with "en", French otherwise (C and POSIX included).
Language LanguageFromEnvironment();

// The language of --lang's value: "fr" or "en", nothing for any other.
std::optional<Language> LanguageNamed(const QString& name);

// Takes every "--lang X" and "--lang=X" out of `arguments`; the last one
// names the language, the environment's when there is none. False when a
// value is missing or is neither fr nor en (the arguments are then as given).
bool TakeLanguageOption(QStringList& arguments, Language& language);

// Installs the language for the rest of the run: the program's own texts,
// Qt's catalogue for its standard dialogs, the drawn texts of the Qt-free
// core and the locale. French installs what a French start always did.
void InstallLanguage(QCoreApplication& app, Language language);

// The language installed last (French before any).
Language InstalledLanguage();

}  // namespace tv::ui
