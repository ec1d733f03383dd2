// Starting outside programs and opening documents with the desktop's applications, behind one seam.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace tv::ui {

// The paint program and Maple are only ever started, never talked to. Tests
// put a recording launcher here, so that no test starts a real program.
class DesktopLauncher {
 public:
  virtual ~DesktopLauncher() = default;
  // The full path of the program `name` on the PATH; empty when there is none.
  virtual QString FindProgram(const QString& name) = 0;
  // Starts program with arguments without waiting for it; false when it
  // could not be started.
  virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
  // Opens url with the application the desktop has registered for it (for a
  // file, the one registered for its type); false when the opener could not
  // be started at all. The opener may only find out later that no
  // application handles the file, or fail otherwise: failed then runs once,
  // from the event loop.
  virtual bool OpenUrl(const QUrl& url, std::function<void()> failed = {}) = 0;
};

// The running program's launcher: QStandardPaths, QProcess, and xdg-open
// (QDesktopServices elsewhere). xdg-open's exit status is watched: it is not
// 0 when no application is registered for the file's type or the one
// registered could not start, which QDesktopServices never reports.
class QtDesktopLauncher : public DesktopLauncher {
 public:
  QString FindProgram(const QString& name) override;
  bool StartProgram(const QString& program, const QStringList& arguments) override;
  bool OpenUrl(const QUrl& url, std::function<void()> failed = {}) override;
};

}  // namespace tv::ui
