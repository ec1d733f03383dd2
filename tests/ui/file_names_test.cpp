// File names through Qt's strings: bytes that are not UTF-8 survive, and names given back by file
// dialogs find their file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "output/file_names.h"

using tv::ui::FromDialogName;
using tv::ui::LocalPath;
using tv::ui::QtPath;
using tv::ui::ToDialogName;

class FileNamesTest : public QObject {
  Q_OBJECT

 private slots:
  void bytesRoundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::newRow("ascii") << QByteArray("dir/loop.WWC") << true;
    QTest::newRow("accents") << QByteArray("\xC3\xA9t\xC3\xA9.WWC") << true;
    QTest::newRow("four-byte") << QByteArray("\xF0\x9F\x98\x80.png") << true;
    QTest::newRow("latin-1") << QByteArray("\xE9t\xE9 1.WWC") << false;
    QTest::newRow("ff-fe") << QByteArray("a b\xFF\xFE c.png") << false;
    QTest::newRow("lone-continuation") << QByteArray("x\x80y") << false;
    QTest::newRow("overlong-slash") << QByteArray("a\xC0\xAF"
                                                  "b")
                                    << false;
    QTest::newRow("encoded-surrogate") << QByteArray("\xED\xB2\x80") << false;
    QTest::newRow("past-10ffff") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("cut-sequence") << QByteArray("end\xE2\x82") << false;
    QTest::newRow("replacement-itself") << QByteArray("\xEF\xBF\xBD") << true;
  }
  void bytesRoundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    const std::string path = bytes.toStdString();
    QCOMPARE(LocalPath(QtPath(path)), path);
    if (utf8) QCOMPARE(QtPath(path), QString::fromUtf8(bytes));
    // The user is shown U+FFFD where a byte is not UTF-8.
    QCOMPARE(tv::ui::ShownPath(path).contains(QChar(0xFFFD)),
             !utf8 || bytes.contains("\xEF\xBF\xBD"));
  }

  void argumentsKeepTheirBytes() {
    char program[] = "tracevue";
    char first[] = "--export";
    char second[] = "a b\xFF\xFE c.png";
    char* argv[] = {program, first, second, nullptr};
    const QStringList arguments = tv::ui::ArgumentsFromArgv(3, argv);
    QCOMPARE(arguments.size(), 2);
    QCOMPARE(arguments[0], QStringLiteral("--export"));
    QCOMPARE(LocalPath(arguments[1]), std::string(second));
  }

  // A file dialog lists "\xE9t\xE9" as Qt decodes it, with U+FFFD: the name it
  // gives back is matched to the one entry shown that way.
  void dialogNameFindsTheEntry() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    QVERIFY(::mkdir((folder + "/sous \xFF").c_str(), 0755) == 0);
    std::ofstream(folder + "/sous \xFF/\xE9t\xE9.WWC") << "x";
    const QString shown =
        QFile::decodeName(QByteArray::fromStdString(folder + "/sous \xFF/\xE9t\xE9.WWC"));
    QCOMPARE(LocalPath(FromDialogName(shown)), folder + "/sous \xFF/\xE9t\xE9.WWC");
    // A new name in that folder: the folder is found, the new name kept as typed.
    const QString fresh =
        QFile::decodeName(QByteArray::fromStdString(folder + "/sous \xFF/new.EMF"));
    QCOMPARE(LocalPath(FromDialogName(fresh)), folder + "/sous \xFF/new.EMF");
    // A preset name that does not exist yet, given back unchanged by the dialog.
    const QString preset = QtPath(folder + "/sous \xFF/\xE9t\xE9.EMF");
    QCOMPARE(LocalPath(FromDialogName(ToDialogName(preset), preset)),
             folder + "/sous \xFF/\xE9t\xE9.EMF");
    // Valid names are left alone.
    QCOMPARE(FromDialogName(dir.filePath(QStringLiteral("été.WWC"))),
             dir.filePath(QStringLiteral("été.WWC")));
    // QTemporaryDir cannot remove what Qt cannot name.
    std::filesystem::remove_all(folder + "/sous \xFF");
  }
};

QTEST_GUILESS_MAIN(FileNamesTest)
#include "file_names_test.moc"
