// Lines of read-outs shown and selected as a label shows them, rewritten only where they changed.
#include "ui/readout_lines.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace tv::ui {

ReadoutLines::ReadoutLines(QWidget* parent) : QTextEdit(parent) {
  setFrameStyle(QFrame::NoFrame);
  setReadOnly(true);
  setUndoRedoEnabled(false);
  setTextInteractionFlags(Qt::TextSelectableByMouse);
  setFocusPolicy(Qt::ClickFocus);
  setLineWrapMode(QTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  setAcceptDrops(false);
  document()->setDocumentMargin(0);
  // The window's background, and the text in the colour a label writes in.
  viewport()->setAutoFillBackground(false);
  QPalette colours = palette();
  colours.setColor(QPalette::Text, colours.color(QPalette::WindowText));
  setPalette(colours);
  viewport()->setCursor(Qt::ArrowCursor);
}

void ReadoutLines::setText(const QString& text) {
  if (text == text_) return;
  const QStringList before = text_.split(u'\n');
  const QStringList after = text.split(u'\n');
  text_ = text;
  const qsizetype oldCount = before.size(), newCount = after.size();
  qsizetype top = 0;
  while (top < oldCount && top < newCount && before[top] == after[top]) ++top;
  qsizetype bottom = 0;
  while (bottom < oldCount - top && bottom < newCount - top &&
         before[oldCount - 1 - bottom] == after[newCount - 1 - bottom])
    ++bottom;
  // At least one line replaced by at least one line.
  if (oldCount - top - bottom == 0 || newCount - top - bottom == 0)
    (bottom > 0 ? bottom : top) -= 1;
  QTextDocument* lines = document();
  QTextCursor cursor(lines->findBlockByNumber(static_cast<int>(top)));
  const QTextBlock last = lines->findBlockByNumber(static_cast<int>(oldCount - bottom - 1));
  cursor.beginEditBlock();
  cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
  cursor.insertText(after.mid(top, newCount - top - bottom).join(u'\n'));
  cursor.endEditBlock();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  updateGeometry();
}

void ReadoutLines::SetMargins(const QMargins& margins) {
  margins_ = margins;
  setViewportMargins(margins);
  updateGeometry();
}

QSize ReadoutLines::sizeHint() const {
  const QSizeF lines = document()->documentLayout()->documentSize();
  const QMargins margins = margins_;
  return QSize(static_cast<int>(std::ceil(document()->idealWidth())) + margins.left() +
                   margins.right(),
               static_cast<int>(std::ceil(lines.height())) + margins.top() + margins.bottom())
      .expandedTo(minimumSize());
}

void ReadoutLines::wheelEvent(QWheelEvent* event) { event->ignore(); }

}  // namespace tv::ui
