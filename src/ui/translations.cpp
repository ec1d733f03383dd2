// Loading Qt's French translation of its standard dialogs into the application.
#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tv::ui {

bool InstallFrenchTranslations(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_fr"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !app.installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace tv::ui
