// The desktop launcher of the running program: programs found on the PATH, detached processes,
// xdg-open.
#include "ui/desktop_launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>

namespace tv::ui {

QString QtDesktopLauncher::FindProgram(const QString& name) {
  return QStandardPaths::findExecutable(name);
}

bool QtDesktopLauncher::StartProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

bool QtDesktopLauncher::OpenUrl(const QUrl& url, std::function<void()> failed) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty() || !url.isLocalFile()) return QDesktopServices::openUrl(url);
  // Not detached: its exit status says whether an application took the file.
  // Without a desktop of its own, xdg-open waits for the application it
  // started, so the process object stays until then and goes afterwards;
  // one left when the program ends is let go, not killed with it.
  auto* process = new QProcess(QCoreApplication::instance());
  process->setProgram(opener);
  process->setArguments({url.toLocalFile()});
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  QObject::connect(process, &QProcess::finished, process,
                   [process, failed](int code, QProcess::ExitStatus status) {
                     if ((code != 0 || status != QProcess::NormalExit) && failed) failed();
                     process->deleteLater();
                   });
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, process,
                   [process] { process->setParent(nullptr); });
  process->start();
  if (!process->waitForStarted()) {
    delete process;
    return false;
  }
  return true;
#else
  (void)failed;
  return QDesktopServices::openUrl(url);
#endif
}

}  // namespace tv::ui
