// PNG files: the decoded pixels are the picture's, whether written with a palette or not.
#include "output/png_output.h"

#include <QByteArray>
#include <QImage>
#include <QtTest>

class PngOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void DecodedPixelsAreThePicture_data() {
    QTest::addColumn<int>("colours");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<int>("colourType");  // of the file's header: 3 palette, 2 RGB, 6 RGBA
    QTest::newRow("one colour, one pixel") << 1 << QImage::Format_RGB32 << 3;
    QTest::newRow("a diagram's few colours") << 40 << QImage::Format_RGB32 << 3;
    QTest::newRow("exactly 256 colours") << 256 << QImage::Format_RGB32 << 3;
    QTest::newRow("257 colours") << 257 << QImage::Format_RGB32 << 2;
    QTest::newRow("thousands of colours") << 5000 << QImage::Format_RGB32 << 2;
    QTest::newRow("transparent pixels, to Qt's writer") << 40 << QImage::Format_ARGB32 << 6;
  }

  void DecodedPixelsAreThePicture() {
    QFETCH(int, colours);
    QFETCH(QImage::Format, format);
    QFETCH(int, colourType);
    // Runs of colours, rows that repeat the one above and rows that do not.
    const int width = colours == 1 ? 1 : 97, height = colours == 1 ? 1 : 71;
    QImage picture(width, height, format);
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(2000);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const int i = (y % 3 == 1 ? x : x / 3 + y * width) % colours;
        picture.setPixel(x, y, qRgba(i * 37 % 256, i * 11 % 256, i / 256 * 50, 255 - y % 2 * 200));
      }
    if (format == QImage::Format_RGB32)  // the unused byte of an opaque picture means nothing
      reinterpret_cast<QRgb*>(picture.scanLine(0))[0] &= 0x00ffffffu;

    QByteArray bytes;
    QVERIFY(tv::ui::EncodePng(picture, bytes));
    QVERIFY(bytes.startsWith("\x89PNG\r\n\x1a\n"));
    QCOMPARE(int(bytes.at(25)), colourType);
    const QImage decoded = QImage::fromData(bytes, "PNG");
    QCOMPARE(decoded.size(), picture.size());
    QCOMPARE(decoded.dotsPerMeterX(), 3780);
    QCOMPARE(decoded.dotsPerMeterY(), 2000);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (decoded.pixel(x, y) != picture.pixel(x, y))
          QFAIL(qPrintable(QStringLiteral("(%1, %2): %3 instead of %4")
                               .arg(x)
                               .arg(y)
                               .arg(decoded.pixel(x, y), 8, 16)
                               .arg(picture.pixel(x, y), 8, 16)));
  }
};

QTEST_GUILESS_MAIN(PngOutputTest)
#include "png_output_test.moc"
