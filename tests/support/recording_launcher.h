// A desktop launcher for tests: programs it pretends to find, and a record of what it was asked to
// start.
#pragma once

#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <utility>

#include "ui/desktop_launcher.h"

namespace tv::ui::test {

class RecordingLauncher : public DesktopLauncher {
 public:
  QStringList Available;  // program names found on the "PATH"
  QStringList Failing;    // found, but refusing to start
  bool UrlOpens = true;

  QStringList Looked;
  QList<QPair<QString, QStringList>> Started;
  QList<QUrl> Urls;

  static QString PathOf(const QString& name) { return QStringLiteral("/opt/test/bin/") + name; }

  QString FindProgram(const QString& name) override {
    Looked << name;
    return Available.contains(name) ? PathOf(name) : QString();
  }
  bool StartProgram(const QString& program, const QStringList& arguments) override {
    Started.append({program, arguments});
    return !Failing.contains(QFileInfo(program).fileName());
  }
  bool OpenUrl(const QUrl& url, std::function<void()> failed) override {
    Urls << url;
    Failures << std::move(failed);
    return UrlOpens;
  }
  // What the opener would call when it reports a failure later, one per URL.
  QList<std::function<void()>> Failures;
};

}  // namespace tv::ui::test
