// The program's entry as the user starts it: the command line without a window, quick to start,
// or the whole program (the windows, SVG, EMF and PDF) for everything else.
//
// This program is linked without Qt's widgets, SVG and printing modules and libEMF: loading them
// took a seventh of a batch figure's time.
#include <QStringList>

#include "app/cli.h"
#include "app/run_without_window.h"
#include "output/file_names.h"
#include "output/language.h"

int main(int argc, char** argv) {
  QStringList arguments = tv::ui::ArgumentsFromArgv(argc, argv);
  tv::ui::Language language = tv::ui::Language::French;
  if (!tv::app::TakeLanguageOrSayWhy(arguments, language)) return tv::app::kExitUsage;
  if (!tv::app::IsCommandLineRun(arguments)) tv::app::HandOverToWholeProgram(argv, language);
  tv::app::RunWithoutWindow(argc, argv, language, true);
}
