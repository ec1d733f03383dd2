// Loading Qt's French translation of its standard dialogs into the application; the French locale.
#include "output/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>
#include <cstring>

namespace tv::ui {

namespace {

// Texts of Qt's file dialog that Qt's own French catalogue of this version
// does not hold under the names Qt 6 asks for them; everything else falls
// through to that catalogue.
class MissingFrenchTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char*, int) const override {
    struct Text {
      const char* context;
      const char* source;
      const char* french;
    };
    static constexpr Text kTexts[] = {
        {"QAbstractFileIconProvider", "Folder", "Dossier"},
        {"QAbstractFileIconProvider", "File Folder", "Dossier"},
        {"QAbstractFileIconProvider", "Drive", "Lecteur"},
        {"QAbstractFileIconProvider", "File", "Fichier"},
        {"QAbstractFileIconProvider", "%1 File", "Fichier %1"},
        {"QLocale", "bytes", "octets"},
    };
    for (const Text& t : kTexts)
      if (qstrcmp(context, t.context) == 0 && qstrcmp(source, t.source) == 0)
        return QString::fromUtf8(t.french);
    return {};
  }
};

}  // namespace

bool InstallFrenchTranslations(QCoreApplication& app) {
  // Asked last, after Qt's catalogue installed below has answered.
  app.installTranslator(new MissingFrenchTexts(&app));
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_fr"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !app.installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

void UseFrenchLocale() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

void UseFrenchDatesInStandardDialogs() {
  // Qt's file dialog writes dates in the system's locale, which Qt reads
  // from these variables when the application starts. LC_ALL would decide
  // every category: its value moves to LANG, which decides those not named.
  const char* all = std::getenv("LC_ALL");
  if (all && *all) {
    if (std::strncmp(all, "fr", 2) == 0) return;
    setenv("LANG", all, 1);
    unsetenv("LC_ALL");
  }
  setenv("LC_TIME", "fr_FR.UTF-8", 1);
}

}  // namespace tv::ui
