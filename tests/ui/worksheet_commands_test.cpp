// The Maple worksheet commands: boxes, the closed-loop question, temporary names a..y, the saved
// file.
#include "ui/worksheet_commands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "files/worksheet.h"
#include "output/cp1252.h"
#include "support/picture_bench.h"
#include "support/recording_launcher.h"

using tv::ui::MessageIcon;
using tv::ui::test::PictureBench;
using tv::ui::test::RecordingLauncher;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }

void Tick(PictureBench& b, bool h1, bool h2, bool h3) {
  b.s.CurveTicked[0] = h1;
  b.s.CurveTicked[1] = h2;
  b.s.CurveTicked[2] = h3;
}

}  // namespace

class WorksheetCommandsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> tmp_;

  QString TmpPath(const QString& name) const { return tmp_->filePath(name); }
  std::string TempDir() const { return Local(tmp_->path() + QLatin1Char('/')); }

 private slots:
  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
  }
  void cleanup() { tmp_.reset(); }

  void NothingWithoutATickedFunction() {
    PictureBench b;
    Tick(b, false, false, false);
    b.s.CurveTicked[3] = true;  // the product alone does not count
    b.s.TempDir = TempDir();
    RecordingLauncher launcher;
    tv::ui::OpenWorksheetInMaple(b.ctx, launcher);
    tv::ui::SaveWorksheetFile(b.ctx);
    QVERIFY(b.dialogs.Log.empty());
    QVERIFY(launcher.Urls.isEmpty());
    QCOMPARE(b.s.MapleFileLetter, 'a');
    QVERIFY(QDir(tmp_->path()).entryList(QDir::Files).isEmpty());
  }

  void DirectOpeningNamesFilesInTurn() {
    PictureBench b;
    b.s.TempDir = TempDir();
    RecordingLauncher launcher;
    for (int i = 0; i < 3; ++i) {
      b.dialogs.YesNoAnswers.push_back(false);
      tv::ui::OpenWorksheetInMaple(b.ctx, launcher);
    }
    QCOMPARE(b.s.MapleFileLetter, 'd');
    QCOMPARE(launcher.Urls.size(), 3);
    int i = 0;
    for (const char* name : {"a.mws", "b.mws", "c.mws"}) {
      const QString path = TmpPath(QString::fromLatin1(name));
      QCOMPARE(ReadAll(path).size(), qsizetype(tv::kWorksheetSize));
      QCOMPARE(launcher.Urls[i++], QUrl::fromLocalFile(path));
    }
    QCOMPARE(b.dialogs.Count("message"), 0);
    // The question: closed loop, with its icon.
    QCOMPARE(b.dialogs.Log[0].kind, QStringLiteral("yesno"));
    QCOMPARE(
        b.dialogs.Log[0].text,
        QStringLiteral("La fonction de transfert est  la FTBO d'un système à retour unitaire ?"));
    QCOMPARE(b.dialogs.Log[0].caption, QStringLiteral("Système bouclé ?"));
    QCOMPARE(b.dialogs.Log[0].icon, MessageIcon::Question);
    QCOMPARE(b.screenRedraws, 0);
  }

  void LetterWrapsAfterY_data() {
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<char>("next");
    QTest::newRow("x-then-y") << 'x' << QStringLiteral("x.mws") << 'y';
    QTest::newRow("y-then-a") << 'y' << QStringLiteral("y.mws") << 'a';
    // A state never started has no letter: the round starts at a.
    QTest::newRow("unset-starts-at-a") << char(0) << QStringLiteral("a.mws") << 'b';
  }
  void LetterWrapsAfterY() {
    QFETCH(char, letter);
    QFETCH(QString, written);
    QFETCH(char, next);
    PictureBench b;
    b.s.TempDir = TempDir();
    b.s.MapleFileLetter = letter;
    b.dialogs.YesNoAnswers = {false};
    RecordingLauncher launcher;
    tv::ui::OpenWorksheetInMaple(b.ctx, launcher);
    QCOMPARE(b.s.MapleFileLetter, next);
    QVERIFY(QFile::exists(TmpPath(written)));
    QCOMPARE(QDir(tmp_->path()).entryList(QDir::Files).size(), 1);
  }

  // The "|" run begins a line after MPLTEXT 1 0 60 "; the statement is
  // followed by the spaces of the run.
  void StatementFromBoxesAndAnswer_data() {
    QTest::addColumn<bool>("h1");
    QTest::addColumn<bool>("h2");
    QTest::addColumn<bool>("h3");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("statement");
    QTest::newRow("h1-open") << true << false << false << false << QByteArray("60 \"H:=H1 ");
    QTest::newRow("h1-closed") << true << false << false << true
                               << QByteArray("60 \"H:=H1;H:=H/(1+H) ");
    QTest::newRow("h2-h3-closed") << false << true << true << true
                                  << QByteArray("60 \"H:= H2*H3;H:=H/(1+H) ");
  }
  void StatementFromBoxesAndAnswer() {
    QFETCH(bool, h1);
    QFETCH(bool, h2);
    QFETCH(bool, h3);
    QFETCH(bool, closed);
    QFETCH(QByteArray, statement);
    for (int command = 0; command < 2; ++command) {
      PictureBench b;
      Tick(b, h1, h2, h3);
      b.s.TempDir = TempDir();
      b.dialogs.YesNoAnswers = {closed};
      QString path;
      if (command == 0) {
        RecordingLauncher launcher;
        tv::ui::OpenWorksheetInMaple(b.ctx, launcher);
        path = TmpPath(QStringLiteral("a.mws"));
      } else {
        path = TmpPath(QStringLiteral("saved.mws"));
        b.dialogs.FileAnswers = {path};
        tv::ui::SaveWorksheetFile(b.ctx);
      }
      const QByteArray bytes = ReadAll(path);
      QCOMPARE(bytes.size(), qsizetype(tv::kWorksheetSize));
      QVERIFY2(bytes.contains(statement), bytes.constData());
    }
  }

  void SaveAsksForTheFileFirst() {
    PictureBench b;
    const QString path = TmpPath(QStringLiteral("loop.mws"));
    b.dialogs.FileAnswers = {path};
    b.dialogs.YesNoAnswers = {false};
    tv::ui::SaveWorksheetFile(b.ctx);
    QCOMPARE(b.dialogs.Log.size(), size_t(2));
    QCOMPARE(b.dialogs.Log[0].kind, QStringLiteral("save"));
    QCOMPARE(b.dialogs.Log[0].extra, QStringLiteral("Fichier Maple|*.mws"));
    QCOMPARE(b.dialogs.Log[1].kind, QStringLiteral("yesno"));
    QCOMPARE(ReadAll(path).size(), qsizetype(tv::kWorksheetSize));
    QCOMPARE(b.s.MapleFileLetter, 'a');  // only the direct opening moves it
  }

  void SaveCancelledAsksNothingMore() {
    PictureBench b;
    b.dialogs.FileAnswers = {QString()};
    tv::ui::SaveWorksheetFile(b.ctx);
    QCOMPARE(b.dialogs.Log.size(), size_t(1));
    QVERIFY(QDir(tmp_->path()).entryList(QDir::Files).isEmpty());
  }

  void SaveReplacesAReadOnlyFile() {
    PictureBench b;
    const QString path = TmpPath(QStringLiteral("locked.mws"));
    {
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("old");
    }
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    b.dialogs.FileAnswers = {path};
    b.dialogs.YesNoAnswers = {false};
    tv::ui::SaveWorksheetFile(b.ctx);
    QCOMPARE(b.dialogs.Count("message"), 0);
    QCOMPARE(ReadAll(path).size(), qsizetype(tv::kWorksheetSize));
  }

  void SaveFailureNamesTheFile() {
    PictureBench b;
    const QString path = TmpPath(QStringLiteral("no/such/dir/loop.mws"));
    b.dialogs.FileAnswers = {path};
    b.dialogs.YesNoAnswers = {false};
    tv::ui::SaveWorksheetFile(b.ctx);
    QCOMPARE(b.dialogs.Count("message"), 1);
    QVERIFY(b.dialogs.Log.back().text.contains(path));
    QCOMPARE(b.dialogs.Log.back().icon, MessageIcon::Exclamation);
  }

  void TemporaryWorksheetThatCannotBeWritten() {
    PictureBench b;
    b.s.TempDir = Local(TmpPath(QStringLiteral("gone")) + QLatin1Char('/'));
    b.dialogs.YesNoAnswers = {true};
    RecordingLauncher launcher;
    tv::ui::OpenWorksheetInMaple(b.ctx, launcher);
    QCOMPARE(b.dialogs.Count("message"), 1);
    QCOMPARE(b.dialogs.Log.back().text, QStringLiteral("Problèmes au lancement de Maple !"));
    QCOMPARE(b.dialogs.Log.back().caption, QStringLiteral("Attention !"));
    QCOMPARE(b.dialogs.Log.back().icon, MessageIcon::Exclamation);
    QVERIFY(launcher.Urls.isEmpty());
    QCOMPARE(b.s.MapleFileLetter, 'b');
  }

  void DesktopThatCannotOpenTheWorksheet() {
    PictureBench b;
    b.s.TempDir = TempDir();
    b.dialogs.YesNoAnswers = {false};
    RecordingLauncher launcher;
    launcher.UrlOpens = false;
    tv::ui::OpenWorksheetInMaple(b.ctx, launcher);
    QCOMPARE(b.dialogs.Count("message"), 1);
    QVERIFY(b.dialogs.Log.back().text.contains(TmpPath(QStringLiteral("a.mws"))));
    QVERIFY(QFile::exists(TmpPath(QStringLiteral("a.mws"))));
    QCOMPARE(b.s.MapleFileLetter, 'b');
  }

  // The opener started, then found nothing for .mws files: one message that
  // names the worksheet and Maple.
  void MapleMissingIsSaidOnceWhenTheOpenerGivesUp() {
    PictureBench b;
    Tick(b, true, false, false);
    b.s.TempDir = TempDir();
    b.dialogs.YesNoAnswers = {false};
    RecordingLauncher launcher;
    tv::ui::OpenWorksheetInMaple(b.ctx, launcher);
    QCOMPARE(b.dialogs.Count("message"), 0);
    QCOMPARE(launcher.Failures.size(), 1);
    launcher.Failures.front()();
    QCOMPARE(b.dialogs.Count("message"), 1);
    const QString text = b.dialogs.Log.back().text;
    QVERIFY2(text.contains(TmpPath(QStringLiteral("a.mws"))) &&
                 text.contains(QStringLiteral("Installez Maple")),
             qPrintable(text));
  }

  // The H statement names the boxes the host has ticked, and only those.
  void BoxesFromTheHost() {
    PictureBench b;
    Tick(b, false, false, true);
    b.s.TempDir = TempDir();
    b.dialogs.YesNoAnswers = {false};
    RecordingLauncher launcher;
    tv::ui::OpenWorksheetInMaple(b.ctx, launcher);
    QVERIFY(
        ReadAll(TmpPath(QStringLiteral("a.mws"))).contains("60 \"H:= H3 "));  // "*H3" loses its "*"
  }
};

QTEST_MAIN(WorksheetCommandsTest)
#include "worksheet_commands_test.moc"
