// Where windows open: inside the screen's free area, beside the main window when there is room.
#include "ui/window_placement.h"

#include <QtTest>

using tv::ui::FitInside;
using tv::ui::PlaceBeside;

class WindowPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void PlaceBeside_data() {
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<bool>("besideMain");
    // A 1600 x 1200 screen with a 30-pixel panel at the bottom.
    const QRect area(0, 0, 1600, 1170);
    const QRect wide(20, 20, 1160, 760);  // the main window at its default size
    QTest::newRow("room on the right")
        << area << QRect(20, 20, 700, 500) << QSize(640, 560) << true;
    QTest::newRow("room on the left only")
        << area << QRect(900, 20, 680, 500) << QSize(640, 560) << true;
    // Mesures beside the default main window: 424 pixels left for its 460.
    QTest::newRow("a little narrower beside") << area << wide << QSize(460, 560) << true;
    QTest::newRow("room below only") << area << wide << QSize(640, 380) << true;
    // The step window and Mesures as reported: taller than what is left below.
    QTest::newRow("no room beside") << area << wide << QSize(640, 700) << false;
    QTest::newRow("taller than the screen") << area << wide << QSize(460, 1400) << false;
    QTest::newRow("no main window") << area << QRect() << QSize(460, 560) << false;
    QTest::newRow("area not at the origin")
        << QRect(1600, 40, 1280, 984) << QRect(1620, 60, 700, 600) << QSize(500, 990) << true;
  }

  void PlaceBeside() {
    QFETCH(QRect, area);
    QFETCH(QRect, main);
    QFETCH(QSize, frame);
    QFETCH(bool, besideMain);
    const QRect placed = ::PlaceBeside(area, main, frame);
    QVERIFY2(area.contains(placed), qPrintable(Describe(placed)));
    const QSize whole = frame.boundedTo(area.size());
    QCOMPARE(placed.height(), whole.height());
    QVERIFY(placed.width() <= whole.width() && placed.width() >= whole.width() * 7 / 10);
    if (besideMain) QVERIFY2(!placed.intersects(main), qPrintable(Describe(placed)));
  }

  // A main window larger than the screen (a scale of 2) is shrunk onto it.
  void FitInsideShrinksAndMoves() {
    const QRect area(0, 0, 800, 570);
    const QRect fitted = FitInside(area, QPoint(20, 20), QSize(1148, 699));
    QCOMPARE(fitted, area);
    const QRect kept = FitInside(area, QPoint(20, 20), QSize(400, 300));
    QCOMPARE(kept, QRect(20, 20, 400, 300));
    QCOMPARE(FitInside(area, QPoint(700, 500), QSize(400, 300)), QRect(400, 270, 400, 300));
  }

 private:
  static QString Describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
  }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
