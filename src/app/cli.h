// The command line without a window: options onto the diagram state, then the picture and files
// written.
#pragma once

#include <QStringList>
#include <iosfwd>

namespace tv::app {

// Exit codes of a run without a window.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;            // bad option or value
inline constexpr int kExitInvalidFunction = 3;  // a ticked function does not compile
inline constexpr int kExitFile = 4;             // a file could not be read or written

// Whether the arguments (program name excluded) ask for a run without a
// window: any of them is an option ("--…").
bool IsCommandLineRun(const QStringList& arguments);

// Whether the arguments (program name excluded) ask for a picture that only
// the whole program draws (SVG, EMF, PDF): the quick command line, linked
// without those libraries, hands such a run over. A QCoreApplication must
// exist. False when the options are refused: the run says why.
bool NeedsWholeProgram(const QStringList& arguments);

// Runs the options (program name excluded): the margin texts drawn go to
// out, one per line; messages to err. A QGuiApplication must exist; no
// window is shown. Returns one of the exit codes above.
int RunCommandLine(const QStringList& arguments, std::ostream& out, std::ostream& err);

}  // namespace tv::app
