// The spin button: which arrow a press hits, and the press-and-hold repeat.
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <vector>

#include "ui/spin_button.h"

using tv::ui::SpinButton;

class SpinButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void SizeAndDelays();
  void PressHitsOneArrow_data();
  void PressHitsOneArrow();
  void HoldRepeatsAfterTheDelays();
  void SlowHandlerIsNeverReentered();
  void RepeatsHeldBackOffTheArrow();
  void ReleaseDuringAHandlerStopsTheRepeats();

 private:
  static void Press(SpinButton& b, QPoint at) {
    QMouseEvent e(QEvent::MouseButtonPress, at, b.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&b, &e);
  }
  static void Move(SpinButton& b, QPoint at) {
    QMouseEvent e(QEvent::MouseMove, at, b.mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&b, &e);
  }
  static void Release(SpinButton& b, QPoint at) {
    QMouseEvent e(QEvent::MouseButtonRelease, at, b.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&b, &e);
  }
};

void SpinButtonTest::SizeAndDelays() {
  SpinButton b;
  QCOMPARE(b.size(), QSize(17, 25));
  QCOMPARE(b.initialRepeatDelayMs(), 400);
  QCOMPARE(b.repeatIntervalMs(), 100);
  QCOMPARE(b.property("initialRepeatDelayMs").toInt(), 400);
  QCOMPARE(b.property("repeatIntervalMs").toInt(), 100);
  b.setProperty("initialRepeatDelayMs", 50);
  b.setRepeatIntervalMs(-5);
  QCOMPARE(b.initialRepeatDelayMs(), 50);
  QCOMPARE(b.repeatIntervalMs(), 0);
}

void SpinButtonTest::PressHitsOneArrow_data() {
  QTest::addColumn<QPoint>("at");
  QTest::addColumn<int>("ups");
  QTest::addColumn<int>("downs");
  QTest::newRow("top_left_corner") << QPoint(0, 0) << 1 << 0;
  QTest::newRow("last_row_of_upper_half") << QPoint(8, 12) << 1 << 0;
  QTest::newRow("first_row_of_lower_half") << QPoint(8, 13) << 0 << 1;
  QTest::newRow("bottom_right_corner") << QPoint(16, 24) << 0 << 1;
}

void SpinButtonTest::PressHitsOneArrow() {
  QFETCH(QPoint, at);
  QFETCH(int, ups);
  QFETCH(int, downs);
  SpinButton b;
  QSignalSpy up(&b, &SpinButton::upClicked);
  QSignalSpy down(&b, &SpinButton::downClicked);
  QTest::mouseClick(&b, Qt::LeftButton, Qt::NoModifier, at);
  QCOMPARE(up.count(), ups);
  QCOMPARE(down.count(), downs);
  QCOMPARE(b.pressedArrow(), SpinButton::Arrow::None);
}

void SpinButtonTest::HoldRepeatsAfterTheDelays() {
  SpinButton b;
  b.setInitialRepeatDelayMs(60);
  b.setRepeatIntervalMs(20);
  QElapsedTimer clock;
  std::vector<qint64> times;
  connect(&b, &SpinButton::downClicked, &b, [&] { times.push_back(clock.elapsed()); });

  clock.start();
  Press(b, QPoint(8, 20));
  // The press itself steps once, at once; nothing more before the first delay.
  QCOMPARE(times.size(), std::size_t{1});
  QCOMPARE(b.pressedArrow(), SpinButton::Arrow::Down);
  QTRY_VERIFY_WITH_TIMEOUT(times.size() >= 4, 5000);
  Release(b, QPoint(8, 20));
  const std::size_t held = times.size();

  QVERIFY(times[1] >= 60 - 1);
  for (std::size_t k = 2; k < times.size(); ++k) QVERIFY(times[k] - times[k - 1] >= 20 - 1);
  // Released: no more repeats.
  QTest::qWait(100);
  QCOMPARE(times.size(), held);
}

void SpinButtonTest::SlowHandlerIsNeverReentered() {
  SpinButton b;
  b.setInitialRepeatDelayMs(10);
  b.setRepeatIntervalMs(5);
  QElapsedTimer clock;
  std::vector<qint64> starts, ends;
  bool inside = false;
  bool reentered = false;
  connect(&b, &SpinButton::upClicked, &b, [&] {
    reentered = reentered || inside;
    inside = true;
    starts.push_back(clock.elapsed());
    QThread::msleep(30);  // a redraw much slower than the repeat interval
    ends.push_back(clock.elapsed());
    inside = false;
  });
  clock.start();
  Press(b, QPoint(8, 2));
  QTRY_VERIFY_WITH_TIMEOUT(starts.size() >= 5, 5000);
  Release(b, QPoint(8, 2));
  QVERIFY(!reentered);
  // Each repeat waits a full interval after the previous handler has ended:
  // had the timer kept running during the handler, repeats would follow at once.
  for (std::size_t k = 2; k < starts.size(); ++k) QVERIFY(starts[k] - ends[k - 1] >= 5 - 1);
  const std::size_t count = starts.size();
  QTest::qWait(60);
  QCOMPARE(starts.size(), count);
}

void SpinButtonTest::RepeatsHeldBackOffTheArrow() {
  SpinButton b;
  b.setInitialRepeatDelayMs(20);
  b.setRepeatIntervalMs(10);
  QSignalSpy up(&b, &SpinButton::upClicked);
  QSignalSpy down(&b, &SpinButton::downClicked);
  Press(b, QPoint(8, 2));
  Move(b, QPoint(8, 20));  // onto the other arrow: it does not take over
  QTest::qWait(120);
  QCOMPARE(up.count(), 1);
  QCOMPARE(down.count(), 0);
  Move(b, QPoint(8, 3));  // back on the pressed arrow: the repeats resume
  QTRY_VERIFY_WITH_TIMEOUT(up.count() >= 3, 5000);
  Release(b, QPoint(8, 3));
  QCOMPARE(down.count(), 0);
}

void SpinButtonTest::ReleaseDuringAHandlerStopsTheRepeats() {
  SpinButton b;
  b.setInitialRepeatDelayMs(10);
  b.setRepeatIntervalMs(10);
  int count = 0;
  connect(&b, &SpinButton::upClicked, &b, [&] {
    // The second click's handler lets the release through itself, as a
    // handler that runs an event loop would.
    if (++count == 2) Release(b, QPoint(8, 2));
  });
  Press(b, QPoint(8, 2));
  QTRY_COMPARE_WITH_TIMEOUT(count, 2, 5000);
  QTest::qWait(80);
  QCOMPARE(count, 2);
  QCOMPARE(b.pressedArrow(), SpinButton::Arrow::None);
}

QTEST_MAIN(SpinButtonTest)
#include "spin_button_test.moc"
