// The following views' one writer: the format by the extension, the picture drawn as asked.
#include "output/view_output.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <string>

#include "output/file_names.h"
#include "render/draw_target.h"
#include "render/plot_surface.h"

class ViewOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void FormatFollowsTheExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("black");
    QTest::addColumn<QByteArray>("starts");  // empty: no file
    QTest::newRow("png") << "v.png" << false << QByteArray("\x89PNG");
    QTest::newRow("png in capitals, black") << "v.PNG" << true << QByteArray("\x89PNG");
    QTest::newRow("svg") << "v.svg" << false << QByteArray("<?xml");
    QTest::newRow("csv") << "v.Csv" << false << QByteArray("x,y\n1,0.1\n");
    QTest::newRow("unknown") << "v.pdf" << false << QByteArray();
  }

  void FormatFollowsTheExtension() {
    QFETCH(QString, name);
    QFETCH(bool, black);
    QFETCH(QByteArray, starts);
    QTemporaryDir dir;
    const std::string path = tv::ui::LocalPath(dir.filePath(name));
    int drawn = 0;
    const auto draw = [&](const tv::DrawTarget& picture) {
      ++drawn;
      QCOMPARE(picture.ForceBlack != 0, black);
      QVERIFY(picture.DrawCanvas != nullptr && picture.DrawCanvas == picture.ScreenCanvas);
      picture.DrawCanvas->MoveTo(0, 0);
      picture.DrawCanvas->LineTo(199, 119);
    };
    std::string samples = "x,y\n";
    tv::ui::AppendCsvNumber(samples, 1);
    samples += ',';
    tv::ui::AppendCsvNumber(samples, 0.1);
    samples += '\n';
    std::string error;
    const bool written = tv::ui::WriteViewOutput(
        path, 200, 120, 10, black, draw, [&] { return samples; }, &error);
    QCOMPARE(written, !starts.isEmpty());
    QFile file(dir.filePath(name));
    if (!written) {
      QCOMPARE(error, std::string("format inconnu : .png, .svg ou .csv"));
      QVERIFY(!file.exists());
      return;
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith(starts));
    const bool picture = !name.endsWith(QLatin1String("csv"), Qt::CaseInsensitive);
    QCOMPARE(drawn, picture ? 1 : 0);
    if (name.endsWith(QLatin1String("png"), Qt::CaseInsensitive))
      QCOMPARE(QImage::fromData(bytes).size(), QSize(200, 120));
  }
};

QTEST_MAIN(ViewOutputTest)
#include "view_output_test.moc"
