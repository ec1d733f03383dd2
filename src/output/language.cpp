// Choosing French or English at start, and installing the program's, Qt's and the core's
// translations.
#include "output/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/translate.h"
#include "output/cp1252.h"
#include "output/translations.h"

namespace tv::ui {

namespace {

Language g_installed = Language::French;
// The English catalogues installed, taken out again when the language changes.
std::vector<QTranslator*> g_english;

// The core's drawn texts are Windows-1252 literals. The translation tools
// read sources as UTF-8 and keep each accented byte of them as U+FFFD;
// the same reading here finds their entries. The English text goes back to
// Windows-1252 for the core's surfaces; a text without an entry stays French.
std::string CoreTranslation(const char* context, const char* text) {
  const QByteArray key = QString::fromUtf8(text).toUtf8();
  const QString english = QCoreApplication::translate(context, key.constData());
  if (english == QString::fromUtf8(key)) return text;
  const std::optional<std::string> bytes = ToCp1252(english);
  return bytes ? *bytes : std::string(text);
}

}  // namespace

Language LanguageFromEnvironment() {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    return QByteArray(value).startsWith("en") ? Language::English : Language::French;
  }
  return Language::French;
}

std::optional<Language> LanguageNamed(const QString& name) {
  if (name == QStringLiteral("fr")) return Language::French;
  if (name == QStringLiteral("en")) return Language::English;
  return std::nullopt;
}

bool TakeLanguageOption(QStringList& arguments, Language& language) {
  QStringList kept;
  std::optional<Language> chosen;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    QString value;
    if (a == QStringLiteral("--lang")) {
      if (i + 1 >= arguments.size()) return false;
      value = arguments[++i];
    } else if (a.startsWith(QStringLiteral("--lang="))) {
      value = a.mid(7);
    } else {
      kept << a;
      continue;
    }
    chosen = LanguageNamed(value);
    if (!chosen) return false;
  }
  arguments = kept;
  language = chosen ? *chosen : LanguageFromEnvironment();
  return true;
}

void InstallLanguage(QCoreApplication& app, Language language) {
  g_installed = language;
  for (QTranslator* t : g_english) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
  g_english.clear();
  if (language == Language::French) {
    UseFrenchLocale();
    InstallFrenchTranslations(app);
    SetTranslator(nullptr);
    return;
  }
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  auto* qt = new QTranslator(&app);
  if (qt->load(QStringLiteral("qtbase_en"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      app.installTranslator(qt))
    g_english.push_back(qt);
  else
    delete qt;
  auto* own = new QTranslator(&app);
  if (own->load(QStringLiteral(":/i18n/tracevue_en.qm")) && app.installTranslator(own))
    g_english.push_back(own);
  else
    delete own;
  SetTranslator(CoreTranslation);
}

Language InstalledLanguage() { return g_installed; }

}  // namespace tv::ui
