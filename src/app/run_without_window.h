// The process without a window: the language read from the arguments, the command line run on
// Qt's offscreen platform, and the hand-over to the whole program.
#pragma once

#include <QStringList>

#include "output/language.h"

namespace tv::app {

// Takes --lang out of arguments into language; false, with the reason on
// standard error, when its value is neither fr nor en.
bool TakeLanguageOrSayWhy(QStringList& arguments, ui::Language& language);

// Runs the command line of argv without a window and ends the process with
// its exit status. A quick program (linked without the vector pictures)
// hands a run that needs them to the whole program once Qt has read the
// options.
[[noreturn]] void RunWithoutWindow(int argc, char** argv, ui::Language language, bool quick);

// Replaces the process with the whole program (the windows, every picture
// format), given the same argv; when it cannot be started, says why and ends
// the process.
[[noreturn]] void HandOverToWholeProgram(char** argv, ui::Language language);

}  // namespace tv::app
