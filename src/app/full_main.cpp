// The whole program's entry: the main window, or the command line without a window when options
// are given, with every picture format.
#include <QApplication>
#include <QGuiApplication>
#include <QStringList>
#include <cstdlib>
#include <iostream>

#include "app/cli.h"
#include "app/run_without_window.h"
#include "core/diagram_state.h"
#include "output/file_names.h"
#include "output/fonts.h"
#include "output/language.h"
#include "ui/qt_dialogs.h"
#include "ui/tform1.h"
#include "output/translations.h"

namespace {

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  // Not QCoreApplication::arguments(), which turns the bytes of a file name
  // that are not UTF-8 into U+FFFD.
  // --lang is read first: it chooses the language of a window as well.
  QStringList arguments = tv::ui::ArgumentsFromArgv(argc, argv);
  tv::ui::Language language = tv::ui::Language::French;
  if (!tv::app::TakeLanguageOrSayWhy(arguments, language)) return tv::app::kExitUsage;
  if (tv::app::IsCommandLineRun(arguments)) tv::app::RunWithoutWindow(argc, argv, language, false);

  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!HasDisplay() && !(platform && *platform)) {
    // A window nobody can see would run for ever.
    std::cerr << (language == tv::ui::Language::English
                      ? "tracevue: no display available (DISPLAY or WAYLAND_DISPLAY); "
                        "without a window, use the options (tracevue --help)\n"
                      : "tracevue : aucun affichage disponible (DISPLAY ou WAYLAND_DISPLAY) ; "
                        "sans fenêtre, utilisez les options (tracevue --help)\n");
    return tv::app::kExitUsage;
  }

  if (language == tv::ui::Language::French) tv::ui::UseFrenchDatesInStandardDialogs();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tracevue"));
  QApplication::setFont(tv::ui::WindowFont());
  QGuiApplication::setDesktopFileName(QStringLiteral(TRACEVUE_APP_ID));
  tv::ui::InstallLanguage(app, language);
  static tv::DiagramState state;  // the one record of the whole run
  tv::ui::QtDialogs dialogs;
  // argc and argv without the options Qt took for itself, nor --lang.
  arguments = tv::ui::ArgumentsFromArgv(argc, argv);
  tv::ui::TakeLanguageOption(arguments, language);
  tv::ui::TForm1 form1(state, dialogs, arguments);
  form1.show();
  return app.exec();
}
