// The program's entry: the main window, or the command line without a window when options are given.
#include <QApplication>
#include <QGuiApplication>
#include <QStringList>
#include <cstdlib>
#include <iostream>

#include "app/cli.h"
#include "core/diagram_state.h"
#include "ui/fonts.h"
#include "ui/qt_dialogs.h"
#include "ui/tform1.h"
#include "ui/translations.h"

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

QStringList RawArguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  const bool commandLine = tv::app::IsCommandLineRun(RawArguments(argc, argv));
  if (commandLine) {
    // No window is shown: no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(CommandLineMessages);
    QGuiApplication app(argc, argv);
    return tv::app::RunCommandLine(QCoreApplication::arguments().mid(1), std::cout, std::cerr);
  }

  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!HasDisplay() && !(platform && *platform)) {
    // A window nobody can see would run for ever.
    std::cerr << "tracevue : aucun affichage disponible (DISPLAY ou WAYLAND_DISPLAY) ; "
                 "sans fenêtre, utilisez les options (tracevue --help)\n";
    return tv::app::kExitUsage;
  }

  tv::ui::UseFrenchDatesInStandardDialogs();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tracevue"));
  QApplication::setFont(tv::ui::WindowFont());
  QGuiApplication::setDesktopFileName(QStringLiteral("tracevue"));
  tv::ui::UseFrenchLocale();
  tv::ui::InstallFrenchTranslations(app);
  static tv::DiagramState state;  // the one record of the whole run
  tv::ui::QtDialogs dialogs;
  tv::ui::TForm1 form1(state, dialogs, QCoreApplication::arguments().mid(1));
  form1.show();
  return app.exec();
}
