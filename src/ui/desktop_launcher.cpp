// The desktop launcher of the running program: programs found on the PATH, detached processes,
// xdg-open.
#include "ui/desktop_launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace tv::ui {

QString QtDesktopLauncher::FindProgram(const QString& name) {
  return QStandardPaths::findExecutable(name);
}

bool QtDesktopLauncher::StartProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

bool QtDesktopLauncher::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace tv::ui
