// The process without a window: the language read from the arguments, the command line run on
// Qt's offscreen platform, and the hand-over to the whole program.
#include "app/run_without_window.h"

#include <QGuiApplication>
#include <fontconfig/fontconfig.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <unistd.h>

#include "app/cli.h"
#include "output/file_names.h"
#include "output/fonts.h"

namespace tv::app {

namespace {

// Qt's notes about its own environment (a missing XDG_RUNTIME_DIR) are no
// business of a command-line user; everything else goes to standard error.
void CommandLineMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtWarningMsg && text.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::cerr << qPrintable(qFormatLogMessage(type, context, text)) << '\n';
}

// The folder of the running program's file.
std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  const std::string file(path, static_cast<std::size_t>(n));
  const std::size_t slash = file.rfind('/');
  return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

}  // namespace

bool TakeLanguageOrSayWhy(QStringList& arguments, ui::Language& language) {
  if (ui::TakeLanguageOption(arguments, language)) return true;
  std::cerr << (ui::LanguageFromEnvironment() == ui::Language::English
                    ? "tracevue: --lang: fr or en expected\n"
                    : "tracevue : --lang : fr ou en attendu\n");
  return false;
}

void RunWithoutWindow(int argc, char** argv, ui::Language language, bool quick) {
  // Qt takes its own options (-platform...) out of argv: the whole program
  // is given them too.
  std::vector<char*> given(argv, argv + argc + 1);
  // No window is shown: no display is needed.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(CommandLineMessages);
  // The font library is set up on the other core while Qt starts, which
  // touches no font: the command line's own configuration with its one font
  // read, or else the system's configuration (a few dozen XML files). Without
  // a second thread, that is done here first.
  const auto setUpFonts = [] {
    if (!ui::UseCommandLineFontConfiguration()) FcInit();
  };
  std::thread fontConfiguration;
  try {
    fontConfiguration = std::thread(setUpFonts);
  } catch (const std::system_error&) {
    setUpFonts();
  }
  QGuiApplication app(argc, argv);
  if (fontConfiguration.joinable()) fontConfiguration.join();
  if (language == ui::Language::English) ui::InstallLanguage(app, language);
  // Qt has taken its own options (-platform...) out of argv by now.
  QStringList arguments = ui::ArgumentsFromArgv(argc, argv);
  ui::TakeLanguageOption(arguments, language);
  if (quick && NeedsWholeProgram(arguments)) HandOverToWholeProgram(given.data(), language);
  const int status = RunCommandLine(arguments, std::cout, std::cerr);
  // Every file of the command is written and closed by now: what is left
  // is taking down Qt, its plugin and the font library, which a process
  // that ends has no use for (a twentieth of a batch figure's time).
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(status);
}

void HandOverToWholeProgram(char** argv, ui::Language language) {
  // Beside this program in the build, in its own folder once installed.
  const std::string folder = ProgramFolder();
  std::string whole = folder + "/tracevue-full";
  if (access(whole.c_str(), X_OK) != 0)
    whole = folder + "/" TRACEVUE_WHOLE_PROGRAM_FOLDER "/tracevue-full";
  std::fflush(nullptr);
  execv(whole.c_str(), argv);
  const int error = errno;
  std::cerr << (language == ui::Language::English ? "tracevue: cannot start "
                                                  : "tracevue : impossible de lancer ")
            << whole << " : " << std::strerror(error) << '\n';
  std::_Exit(kExitFile);
}

}  // namespace tv::app
