// The kept scroll bar: the scroll bar's own pixels, drawn once per state while its pictures last.
#include "ui/kept_scroll_bar.h"

#include <QImage>
#include <QScrollBar>
#include <QtTest>
#include <memory>

using tv::ui::KeptScrollBar;

namespace {

QImage Picture(QScrollBar& bar) {
  return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class KeptScrollBarTest : public QObject {
  Q_OBJECT

 private slots:
  // States in turn on one kept scroll bar and on the scroll bar: the same
  // pixels, the style drawing only a state not among the last four.
  void SamePixelsAsTheScrollBarDrawnOncePerState() {
    struct State {
      const char* Name;
      Qt::Orientation Orientation;
      QSize Size;
      int Maximum, Value;
      bool Enabled;
      int DrawnAfter;
    };
    const State states[] = {
        {"tall at top", Qt::Vertical, {14, 512}, 900, 0, true, 1},
        {"tall at bottom", Qt::Vertical, {14, 512}, 900, 900, true, 2},
        {"tall at top again", Qt::Vertical, {14, 512}, 900, 0, true, 2},
        {"another range", Qt::Vertical, {14, 512}, 910, 0, true, 3},
        {"disabled", Qt::Vertical, {14, 300}, 100, 20, false, 4},
        {"midway", Qt::Vertical, {14, 512}, 900, 450, true, 5},
        {"tall at bottom, pushed out", Qt::Vertical, {14, 512}, 900, 900, true, 6},
        {"wide, long handle", Qt::Horizontal, {444, 14}, 12, 5, true, 1},
        {"nothing to scroll", Qt::Horizontal, {444, 14}, 0, 0, true, 2},
    };
    std::unique_ptr<KeptScrollBar> kept;
    for (const State& s : states) {
      if (!kept || kept->orientation() != s.Orientation)
        kept = std::make_unique<KeptScrollBar>(s.Orientation);
      QScrollBar plain(s.Orientation);
      for (QScrollBar* bar : {static_cast<QScrollBar*>(kept.get()), &plain}) {
        bar->resize(s.Size);
        bar->setRange(0, s.Maximum);
        bar->setPageStep(s.Size.height() + s.Size.width());
        bar->setValue(s.Value);
        bar->setEnabled(s.Enabled);
      }
      QVERIFY2(Picture(*kept) == Picture(plain), s.Name);
      QVERIFY2(kept->StyleDrawCount() == s.DrawnAfter, s.Name);
    }
  }
};

QTEST_MAIN(KeptScrollBarTest)
#include "kept_scroll_bar_test.moc"
