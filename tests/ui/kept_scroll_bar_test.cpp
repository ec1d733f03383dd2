// The kept scroll bar: the scroll bar's own pixels, drawn once per state while its pictures last.
#include "ui/kept_scroll_bar.h"

#include <QImage>
#include <QScrollBar>
#include <QtTest>

using tv::ui::KeptScrollBar;

namespace {

struct State {
  const char* Name;
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
  void SamePixelsAsTheScrollBar() {
    const State states[] = {
        {"TallAtTop", Qt::Vertical, {14, 512}, 900, 512, 0, true},
        {"TallMidway", Qt::Vertical, {14, 512}, 900, 512, 450, true},
        {"TallAtBottom", Qt::Vertical, {14, 512}, 900, 512, 900, true},
        {"WideLongHandle", Qt::Horizontal, {444, 14}, 12, 444, 5, true},
        {"NothingToScroll", Qt::Horizontal, {444, 14}, 0, 444, 0, true},
        {"Disabled", Qt::Vertical, {14, 300}, 100, 300, 20, false},
    };
    for (const State& state : states) {
      QScrollBar plain(state.Orientation);
      KeptScrollBar kept(state.Orientation);
      Apply(plain, state);
      Apply(kept, state);
      const QImage expected = Picture(plain);
      QVERIFY2(Picture(kept) == expected, state.Name);
      // Painted again in the same state: the kept picture, not drawn again.
      QVERIFY2(Picture(kept) == expected, state.Name);
      QVERIFY2(kept.StyleDrawCount() == 1, state.Name);
    }
  }

  void StatesComeBackFromTheirPicturesUntilPushedOut() {
    KeptScrollBar kept(Qt::Vertical);
    QScrollBar plain(Qt::Vertical);
    // A held arrow's two alternating ranges, then more than are kept.
    const int maxima[] = {900, 910, 900, 910, 920, 930, 940, 950, 900};
    const int drawnAfter[] = {1, 2, 2, 2, 3, 4, 5, 6, 7};
    for (int i = 0; i < 9; ++i) {
      const State state{"", Qt::Vertical, QSize(14, 512), maxima[i], 512, 0, true};
      Apply(kept, state);
      Apply(plain, state);
      QCOMPARE(Picture(kept), Picture(plain));
      QCOMPARE(kept.StyleDrawCount(), drawnAfter[i]);
    }
  }
};

QTEST_MAIN(KeptScrollBarTest)
#include "kept_scroll_bar_test.moc"
