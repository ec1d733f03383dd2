// Starting outside programs and opening documents with the desktop's applications, behind one seam.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

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
  // file, the one registered for its type); false when the desktop says none
  // could be started.
  virtual bool OpenUrl(const QUrl& url) = 0;
};

// The running program's launcher: QStandardPaths, QProcess, QDesktopServices.
class QtDesktopLauncher : public DesktopLauncher {
 public:
  QString FindProgram(const QString& name) override;
  bool StartProgram(const QString& program, const QStringList& arguments) override;
  bool OpenUrl(const QUrl& url) override;
};

}  // namespace tv::ui
