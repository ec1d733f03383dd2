// Lines of read-outs shown and selected as a label shows them, laid out again only where they
// changed.
#include "ui/readout_lines.h"

#include <QEvent>
#include <QWheelEvent>
#include <cmath>
#include <vector>

namespace tv::ui {

ReadoutLines::ReadoutLines(QWidget* parent) : ReadoutView(parent) {
  setFrameStyle(QFrame::NoFrame);
  setFocusPolicy(Qt::ClickFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  setAcceptDrops(false);
  // The window's background, and the text in the colour a label writes in.
  viewport()->setAutoFillBackground(false);
  viewport()->setCursor(Qt::ArrowCursor);
  SetLook({.TextMargin = 0, .MeasureAllAtOnce = true, .Caret = false, .PlainInWidgetWeight = true});
}

void ReadoutLines::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  ShowText();
}

void ReadoutLines::ShowText() {
  const QColor colour = palette().color(QPalette::WindowText);
  std::vector<Line> lines;
  for (const QString& line : text_.split(u'\n')) lines.push_back({line, colour, false, 0});
  SetLines(lines);
  updateGeometry();
}

void ReadoutLines::SetMargins(const QMargins& margins) {
  margins_ = margins;
  setViewportMargins(margins);
  updateGeometry();
}

QSize ReadoutLines::sizeHint() const {
  const QSizeF lines = ContentSize();
  return QSize(static_cast<int>(std::ceil(lines.width())) + margins_.left() + margins_.right(),
               static_cast<int>(std::ceil(lines.height())) + margins_.top() + margins_.bottom())
      .expandedTo(minimumSize());
}

void ReadoutLines::wheelEvent(QWheelEvent* event) { event->ignore(); }

void ReadoutLines::changeEvent(QEvent* event) {
  ReadoutView::changeEvent(event);
  // Written in the palette's colour of the moment.
  if (event->type() == QEvent::PaletteChange && !text_.isEmpty()) ShowText();
}

}  // namespace tv::ui
