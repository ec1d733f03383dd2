// The read-outs' view: drawn and scrolled as a text edit holding the same lines, selected and
// copied as text.
#include "ui/readout_view.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>
#include <functional>

#include "output/fonts.h"

using tv::ui::ReadoutView;

namespace {

using Lines = std::vector<ReadoutView::Line>;

// Read-outs of every kind of line: headings, indents, empty lines, lines
// wider than the view, the characters the window writes.
Lines ManyLines(int count) {
  const QColor colours[] = {Qt::red, QColor(0, 128, 0), Qt::blue, Qt::black};
  Lines lines;
  for (int i = 0; i < count; ++i) {
    const bool heading = i % 7 == 0;
    const int indent = heading ? (i % 14 == 0 ? 8 : 20) : 32;
    QString text = QStringLiteral("w = %1 rad/s : pôle d'ordre %2, Ksi = %3 ± j%4°")
                       .arg(1.0 + i * 0.3719, 0, 'g', 6)
                       .arg(i % 3)
                       .arg(-0.30786 + i * 0.011)
                       .arg(i * 13.7);
    if (i % 5 == 0) text += QStringLiteral(", résonance 4.645 dB (partie réelle positive)");
    if (i % 11 == 10) text.clear();
    lines.push_back({text, colours[i % 4], heading, indent});
  }
  return lines;
}

// What the window showed before: one block a line, its indent as the
// block's left margin, headings bold.
void Fill(QTextEdit& edit, const Lines& lines) {
  QTextCursor cursor(edit.document());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    QTextBlockFormat block;
    block.setLeftMargin(lines[i].Indent);
    QTextCharFormat chars;
    chars.setFontWeight(lines[i].Heading ? QFont::Bold : QFont::Normal);
    chars.setForeground(lines[i].Colour);
    if (i == 0)
      cursor.setBlockFormat(block);
    else
      cursor.insertBlock(block);
    cursor.insertText(lines[i].Text, chars);
  }
}

template <class View>
void Prepare(View& view) {
  view.setFont(tv::ui::WindowFont());
  QPalette palette = view.palette();
  palette.setColor(QPalette::Base, Qt::white);
  view.setPalette(palette);
  view.setFocusPolicy(Qt::NoFocus);  // no caret in the pictures
  view.resize(460, 300);
  view.show();
}

QImage Shown(QAbstractScrollArea& view) {
  return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class ReadoutViewTest : public QObject {
  Q_OBJECT

 private slots:
  void DrawsAndScrollsAsATextEditHoldingTheSameLines() {
    struct Case {
      const char* name;
      Lines first;  // shown first, then replaced by lines
      Lines lines;
    };
    Lines moved = ManyLines(60);
    moved.erase(moved.begin() + 3, moved.begin() + 5);
    const Case cases[] = {
        {"sixty lines at once", {}, ManyLines(60)},
        {"a few short lines",
         {},
         {{"H1", Qt::red, true, 8}, {"aucune mesure", Qt::red, false, 32}}},
        {"lines replaced, some moved up", ManyLines(60), moved},
        {"lines replaced by more", ManyLines(20), ManyLines(60)},
    };
    for (const Case& c : cases) {
      QTextEdit edit;
      edit.setReadOnly(true);
      edit.setLineWrapMode(QTextEdit::NoWrap);
      Prepare(edit);
      Fill(edit, c.lines);
      ReadoutView view;
      Prepare(view);
      if (!c.first.empty()) view.SetLines(c.first);
      view.SetLines(c.lines);
      // The lines out of sight are measured once they stop changing.
      QTRY_COMPARE_WITH_TIMEOUT(view.horizontalScrollBar()->maximum(),
                                edit.horizontalScrollBar()->maximum(), 2000);
      QVERIFY2(view.verticalScrollBar()->maximum() == edit.verticalScrollBar()->maximum(), c.name);
      QVERIFY2(view.viewport()->size() == edit.viewport()->size(), c.name);
      for (const auto& [x, y] : {std::pair{0, 0}, {0, 10000}, {10000, 217}, {37, 101}}) {
        for (QAbstractScrollArea* area :
             {static_cast<QAbstractScrollArea*>(&edit), static_cast<QAbstractScrollArea*>(&view)}) {
          area->horizontalScrollBar()->setValue(x);
          area->verticalScrollBar()->setValue(y);
        }
        QCoreApplication::processEvents();
        QVERIFY2(
            Shown(view) == Shown(edit),
            qPrintable(QStringLiteral("%1 at %2, %3").arg(QLatin1String(c.name)).arg(x).arg(y)));
      }
    }
  }

  void SelectsAndCopiesAsText() {
    const Lines lines = {{"H1", Qt::red, true, 8},
                         {"Marges de phase (gain de 0 dB)", Qt::red, true, 20},
                         {"w= 1.23282 rad/s : MP= 27.14163°", Qt::red, false, 32},
                         {"", Qt::red, false, 8}};
    using Act = std::function<void(ReadoutView&)>;
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
      return [k, m](ReadoutView& v) { QTest::keyClick(&v, k, m); };
    };
    const auto at = [](ReadoutView& v, int row, const char* before) {
      // Just after the text before, on the given line.
      QFont font = v.font();
      font.setWeight(row < 2 ? QFont::Bold : QFont::Normal);
      const int indent = row == 0 ? 8 : row == 1 ? 20 : 32;
      return QPoint(
          4 + indent + QFontMetrics(font).horizontalAdvance(QString::fromUtf8(before)) + 1,
          4 + 16 * row + 8);
    };
    struct Case {
      const char* name;
      std::vector<Act> acts;
      QString selected;
    };
    const Case cases[] = {
        {"all",
         {key(Qt::Key_A, Qt::ControlModifier)},
         "H1\nMarges de phase (gain de 0 dB)\nw= 1.23282 rad/s : MP= 27.14163°\n"},
        {"a line down", {key(Qt::Key_Down, Qt::ShiftModifier)}, "H1\n"},
        {"to the end of the text",
         {key(Qt::Key_Down), key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier)},
         "Marges de phase (gain de 0 dB)\nw= 1.23282 rad/s : MP= 27.14163°\n"},
        {"two characters back from a line's end",
         {key(Qt::Key_Down), key(Qt::Key_Down), key(Qt::Key_End),
          key(Qt::Key_Left, Qt::ShiftModifier), key(Qt::Key_Left, Qt::ShiftModifier)},
         "3°"},
        {"dragged across two lines",
         {[at](ReadoutView& v) {
           QTest::mousePress(v.viewport(), Qt::LeftButton, {}, at(v, 1, "Marges de "));
           QTest::mouseMove(v.viewport(), at(v, 2, "w= 1.23"));
           QTest::mouseRelease(v.viewport(), Qt::LeftButton, {}, at(v, 2, "w= 1.23"));
         }},
         "phase (gain de 0 dB)\nw= 1.23"},
        {"a word double-clicked",
         {[at](ReadoutView& v) {
           QTest::mouseDClick(v.viewport(), Qt::LeftButton, {}, at(v, 1, "Marges de ph"));
         }},
         "phase"},
    };
    for (const Case& c : cases) {
      ReadoutView view;
      view.setFont(tv::ui::WindowFont());
      view.resize(460, 200);
      view.show();
      view.SetLines(lines);
      view.setFocus();
      for (const Act& act : c.acts) act(view);
      QVERIFY2(view.SelectedText() == c.selected, qPrintable(view.SelectedText()));
      QApplication::clipboard()->clear();
      QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
      QVERIFY2(QApplication::clipboard()->text() == c.selected, c.name);
    }
  }
};

QTEST_MAIN(ReadoutViewTest)
#include "readout_view_test.moc"
