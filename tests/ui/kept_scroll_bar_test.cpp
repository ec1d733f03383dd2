// The kept scroll bar: the scroll bar's own pixels, drawn once per state while its pictures last.
#include "ui/kept_scroll_bar.h"

#include <QImage>
#include <QScrollBar>
#include <QtTest>

using tv::ui::KeptScrollBar;

namespace {

struct State {
  Qt::Orientation Orientation;
  QSize Size;
  int Maximum, Page, Value;
  bool Enabled;
};

void Apply(QScrollBar& bar, const State& s) {
  bar.resize(s.Size);
  bar.setRange(0, s.Maximum);
  bar.setPageStep(s.Page);
  bar.setValue(s.Value);
  bar.setEnabled(s.Enabled);
}

QImage Picture(QScrollBar& bar) {
  return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class KeptScrollBarTest : public QObject {
  Q_OBJECT

 private slots:
  void SamePixelsAsTheScrollBar_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("TallAtTop") << int(Qt::Vertical) << QSize(14, 512) << 900 << 512 << 0 << true;
    QTest::newRow("TallMidway") << int(Qt::Vertical) << QSize(14, 512) << 900 << 512 << 450 << true;
    QTest::newRow("TallAtBottom") << int(Qt::Vertical) << QSize(14, 512) << 900 << 512 << 900
                                  << true;
    QTest::newRow("WideLongHandle")
        << int(Qt::Horizontal) << QSize(444, 14) << 12 << 444 << 5 << true;
    QTest::newRow("NothingToScroll")
        << int(Qt::Horizontal) << QSize(444, 14) << 0 << 444 << 0 << true;
    QTest::newRow("Disabled") << int(Qt::Vertical) << QSize(14, 300) << 100 << 300 << 20 << false;
  }

  void SamePixelsAsTheScrollBar() {
    QFETCH(int, orientation);
    QFETCH(QSize, size);
    QFETCH(int, maximum);
    QFETCH(int, page);
    QFETCH(int, value);
    QFETCH(bool, enabled);
    const State state{Qt::Orientation(orientation), size, maximum, page, value, enabled};
    QScrollBar plain(state.Orientation);
    KeptScrollBar kept(state.Orientation);
    Apply(plain, state);
    Apply(kept, state);
    const QImage expected = Picture(plain);
    QCOMPARE(Picture(kept), expected);
    const int drawn = kept.StyleDrawCount();
    QCOMPARE(drawn, 1);
    // Painted again in the same state: the kept picture, the same pixels.
    QCOMPARE(Picture(kept), expected);
    QCOMPARE(kept.StyleDrawCount(), drawn);
  }

  void StatesComeBackFromTheirPicturesUntilPushedOut() {
    KeptScrollBar kept(Qt::Vertical);
    QScrollBar plain(Qt::Vertical);
    // A held arrow's two alternating ranges, then more than are kept.
    const int maxima[] = {900, 910, 900, 910, 920, 930, 940, 950, 900};
    const int drawnAfter[] = {1, 2, 2, 2, 3, 4, 5, 6, 7};
    for (int i = 0; i < 9; ++i) {
      const State state{Qt::Vertical, QSize(14, 512), maxima[i], 512, 0, true};
      Apply(kept, state);
      Apply(plain, state);
      QCOMPARE(Picture(kept), Picture(plain));
      QCOMPARE(kept.StyleDrawCount(), drawnAfter[i]);
    }
  }
};

QTEST_MAIN(KeptScrollBarTest)
#include "kept_scroll_bar_test.moc"
