// The program's entry: the main window, or the command line without a window when options are
// given.
#include <QApplication>
#include <QGuiApplication>
#include <QStringList>
#include <fontconfig/fontconfig.h>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <system_error>
#include <thread>

#include "app/cli.h"
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

// Qt's notes about its own environment (a missing XDG_RUNTIME_DIR) are no
// business of a command-line user; everything else goes to standard error.
void CommandLineMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtWarningMsg && text.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::cerr << qPrintable(qFormatLogMessage(type, context, text)) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  // Not QCoreApplication::arguments(), which turns the bytes of a file name
  // that are not UTF-8 into U+FFFD.
  // --lang is read first: it chooses the language of a window as well.
  QStringList arguments = tv::ui::ArgumentsFromArgv(argc, argv);
  tv::ui::Language language = tv::ui::Language::French;
  if (!tv::ui::TakeLanguageOption(arguments, language)) {
    std::cerr << (tv::ui::LanguageFromEnvironment() == tv::ui::Language::English
                      ? "tracevue: --lang: fr or en expected\n"
                      : "tracevue : --lang : fr ou en attendu\n");
    return tv::app::kExitUsage;
  }
  const bool commandLine = tv::app::IsCommandLineRun(arguments);
  if (commandLine) {
    // No window is shown: no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(CommandLineMessages);
    // The font library's configuration (a few dozen XML files, the first
    // text's largest cost) is read on the other core while Qt starts, which
    // touches no font: the same configuration, read earlier. Without a
    // second thread, Qt reads it at the first text, as it always did.
    std::thread fontConfiguration;
    try {
      fontConfiguration = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
    QGuiApplication app(argc, argv);
    if (fontConfiguration.joinable()) fontConfiguration.join();
    if (language == tv::ui::Language::English) tv::ui::InstallLanguage(app, language);
    // Qt has taken its own options (-platform...) out of argv by now.
    arguments = tv::ui::ArgumentsFromArgv(argc, argv);
    tv::ui::TakeLanguageOption(arguments, language);
    const int status = tv::app::RunCommandLine(arguments, std::cout, std::cerr);
    // Every file of the command is written and closed by now: what is left
    // is taking down Qt, its plugin and the font library, which a process
    // that ends has no use for (a twentieth of a batch figure's time).
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
  }

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
