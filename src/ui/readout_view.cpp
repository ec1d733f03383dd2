// A read-only view of coloured, indented lines that a step rewrites: each line is laid out when it
// is first shown and kept until its text changes; selected and copied like any text.
#include "ui/readout_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QMultiHash>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <utility>

#include "ui/kept_scroll_bar.h"

namespace tv::ui {

namespace {

// A line is never wrapped: wider than any text.
constexpr qreal kUnbounded = 1e7;
// The lines out of sight are measured once the lines have not changed for
// this long: a held arrow steps faster than that.
constexpr int kMeasureDelayMs = 300;

bool SameLook(const ReadoutView::Line& a, const ReadoutView::Line& b) {
  return a.Text == b.Text && a.Colour == b.Colour && a.Heading == b.Heading && a.Indent == b.Indent;
}

bool Before(ReadoutView::Place a, ReadoutView::Place b) {
  return a.Row < b.Row || (a.Row == b.Row && a.Column < b.Column);
}

}  // namespace

ReadoutView::ReadoutView(QWidget* parent) : QAbstractScrollArea(parent) {
  setVerticalScrollBar(new KeptScrollBar(Qt::Vertical, this));
  setHorizontalScrollBar(new KeptScrollBar(Qt::Horizontal, this));
  setFocusPolicy(Qt::WheelFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  verticalScrollBar()->setSingleStep(20);
  horizontalScrollBar()->setSingleStep(20);
  ForgetLayouts();
}

ReadoutView::~ReadoutView() = default;

void ReadoutView::SetLook(const Look& look) {
  look_ = look;
  ForgetLayouts();
  for (std::size_t i = 0; i < rows_.size(); ++i) Measure(i);
  PlaceRows();
  UpdateScrollBars();
  viewport()->update();
}

void ReadoutView::ForgetLayouts() {
  normal_ = font();
  if (!look_.PlainInWidgetWeight) normal_.setWeight(QFont::Normal);
  bold_ = font();
  bold_.setWeight(QFont::Bold);
  for (int heading = 0; heading < 2; ++heading) {
    QTextLayout empty(QString(), heading ? bold_ : normal_);
    empty.beginLayout();
    QTextLine line = empty.createLine();
    line.setLineWidth(kUnbounded);
    empty.endLayout();
    emptyHeight_[heading] = line.height();
    advances_[heading].clear();
  }
  for (Row& row : rows_) {
    row.Layout.reset();
    row.Measured = false;
  }
}

QTextLayout& ReadoutView::LaidOut(std::size_t row) {
  Row& r = rows_[row];
  if (!r.Layout) {
    const Line& line = lines_[row];
    r.Layout = std::make_shared<QTextLayout>(line.Text, line.Heading ? bold_ : normal_);
    // Kept whole, so that painting it again does not shape it again.
    r.Layout->setCacheEnabled(true);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    r.Layout->setTextOption(option);
    r.Layout->beginLayout();
    QTextLine text = r.Layout->createLine();
    text.setLineWidth(kUnbounded);
    text.setPosition(QPointF(line.Indent, 0));
    r.Layout->endLayout();
  }
  return *r.Layout;
}

void ReadoutView::Measure(std::size_t row) {
  const QTextLine text = LaidOut(row).lineAt(0);
  rows_[row].Width = text.naturalTextWidth();
  rows_[row].Height = text.height();
  rows_[row].Measured = true;
}

qreal ReadoutView::Estimate(const Line& line) {
  QHash<QChar, qreal>& known = advances_[line.Heading ? 1 : 0];
  qreal width = 0;
  for (const QChar c : line.Text) {
    auto it = known.constFind(c);
    if (it == known.constEnd())
      it = known.insert(c, QFontMetricsF(line.Heading ? bold_ : normal_).horizontalAdvance(c));
    width += it.value();
  }
  return width;
}

void ReadoutView::PlaceRows() {
  qreal top = look_.TextMargin, widest = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i].Top = top;
    top += rows_[i].Height;
    widest = std::max(widest, lines_[i].Indent + rows_[i].Width);
  }
  contentHeight_ = top + look_.TextMargin;
  contentWidth_ = widest + 2 * look_.TextMargin;
}

QSizeF ReadoutView::ContentSize() const { return {contentWidth_, contentHeight_}; }

void ReadoutView::UpdateScrollBars() {
  const QSize shown = viewport()->size();
  const QSize content = ContentSize().toSize();
  // A scroll bar repaints, its window's background under it, at every page
  // step set even to the same value: a held arrow's steps leave them be.
  const auto set = [](QScrollBar* bar, int maximum, int page) {
    if (bar->minimum() != 0 || bar->maximum() != maximum) bar->setRange(0, maximum);
    if (bar->pageStep() != page) bar->setPageStep(page);
  };
  set(horizontalScrollBar(), std::max(0, content.width() - shown.width()), shown.width());
  set(verticalScrollBar(), std::max(0, content.height() - shown.height()), shown.height());
}

void ReadoutView::SetLines(const std::vector<Line>& lines) {
  std::vector<Row> before = std::move(rows_);
  std::vector<Line> linesBefore = std::move(lines_);
  const qreal heightBefore = contentHeight_;
  lines_ = lines;
  rows_.assign(lines_.size(), Row{});
  // A line whose text comes back, here or elsewhere, keeps its layout.
  const auto key = [](const Line& l) { return (l.Heading ? u'1' : u'0') + l.Text; };
  const auto sameText = [](const Line& a, const Line& b) {
    return a.Heading == b.Heading && a.Text == b.Text;
  };
  QMultiHash<QString, std::size_t> laidOut;
  for (std::size_t i = 0; i < before.size(); ++i)
    if (before[i].Measured && !(i < lines_.size() && sameText(linesBefore[i], lines_[i])))
      laidOut.insert(key(linesBefore[i]), i);
  bool unmeasured = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    Row& row = rows_[i];
    std::size_t from = before.size();
    if (i < before.size() && before[i].Measured && sameText(linesBefore[i], lines_[i])) {
      from = i;
    } else if (auto it = laidOut.isEmpty() ? laidOut.end() : laidOut.find(key(lines_[i]));
               it != laidOut.end()) {
      from = it.value();
      laidOut.erase(it);
    }
    if (from < before.size()) {
      row.Layout = std::move(before[from].Layout);
      row.Width = before[from].Width;
      row.Height = before[from].Height;
      row.Measured = true;
      // Laid out at another indent: laid out again when shown.
      if (row.Layout && row.Layout->lineAt(0).x() != lines_[i].Indent) row.Layout.reset();
    } else {
      row.Height = emptyHeight_[lines_[i].Heading ? 1 : 0];
      row.Width = Estimate(lines_[i]);
      unmeasured = true;
    }
  }
  // The first lines shown are measured at once, so that the window opens
  // with its true scroll ranges.
  if (before.empty() || look_.MeasureAllAtOnce) {
    for (std::size_t i = 0; i < rows_.size(); ++i)
      if (!rows_[i].Measured) Measure(i);
    unmeasured = false;
  }
  PlaceRows();
  const bool selected = HasSelection();
  anchor_ = Clamped(anchor_);
  caret_ = Clamped(caret_);

  const int h = horizontalScrollBar()->value(), v = verticalScrollBar()->value();
  UpdateScrollBars();
  if (unmeasured) measureLater_.start(kMeasureDelayMs, this);
  if (before.empty() || selected || horizontalScrollBar()->value() != h ||
      verticalScrollBar()->value() != v) {
    viewport()->update();
    return;
  }
  // Only the rows whose look or place changed, and below the last line what
  // the lines taken away leave.
  QRegion dirty;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (i >= before.size() || !SameLook(linesBefore[i], lines_[i]) ||
        before[i].Top != rows_[i].Top || before[i].Height != rows_[i].Height)
      dirty += RowsRect(static_cast<int>(i), static_cast<int>(i));
  if (contentHeight_ < heightBefore)
    dirty += QRectF(0, contentHeight_ - look_.TextMargin - v, viewport()->width(),
                    heightBefore - contentHeight_)
                 .toAlignedRect();
  if (!dirty.isEmpty()) viewport()->update(dirty & viewport()->rect());
}

QRect ReadoutView::RowsRect(int first, int last) const {
  if (rows_.empty()) return {};
  first = std::clamp(first, 0, static_cast<int>(rows_.size()) - 1);
  last = std::clamp(last, first, static_cast<int>(rows_.size()) - 1);
  const qreal top = rows_[first].Top - verticalScrollBar()->value();
  const qreal bottom = rows_[last].Top + rows_[last].Height - verticalScrollBar()->value();
  return QRectF(0, top, viewport()->width(), bottom - top).toAlignedRect();
}

void ReadoutView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const int h = horizontalScrollBar()->value(), v = verticalScrollBar()->value();
  const QRegion& exposed = event->region();
  const QRect area = event->rect().translated(0, v);
  // The first row that reaches the exposed area.
  auto first = std::partition_point(
      rows_.begin(), rows_.end(), [&area](const Row& r) { return r.Top + r.Height <= area.top(); });
  bool placesChanged = false;
  for (auto it = first; it != rows_.end() && it->Top <= area.bottom(); ++it) {
    const std::size_t i = static_cast<std::size_t>(it - rows_.begin());
    if (!it->Measured) {
      const qreal height = it->Height;
      Measure(i);
      placesChanged |= it->Height != height;
      measureLater_.start(kMeasureDelayMs, this);
    }
  }
  if (placesChanged) {
    // A font that falls back to another of other heights: rows below move.
    PlaceRows();
    viewport()->update();
  }
  painter.translate(-h, -v);
  const Place from = std::min(anchor_, caret_, Before), to = std::max(anchor_, caret_, Before);
  for (auto it = first; it != rows_.end() && it->Top <= area.bottom(); ++it) {
    const int i = static_cast<int>(it - rows_.begin());
    if (!exposed.intersects(RowsRect(i, i))) continue;
    const Line& line = lines_[static_cast<std::size_t>(i)];
    QTextLayout& layout = LaidOut(static_cast<std::size_t>(i));
    QList<QTextLayout::FormatRange> selections;
    if (HasSelection() && from.Row <= i && i <= to.Row) {
      QTextLayout::FormatRange selected;
      selected.start = i == from.Row ? from.Column : 0;
      // Past the end of a line the selection goes on to the next: its
      // separator is shown selected, as a text edit shows it.
      const int end = i == to.Row ? to.Column : static_cast<int>(line.Text.size()) + 1;
      selected.length = end - selected.start;
      selected.format.setBackground(palette().brush(QPalette::Highlight));
      selected.format.setForeground(palette().brush(QPalette::HighlightedText));
      if (selected.length > 0) selections.append(selected);
    }
    painter.setPen(line.Colour);
    layout.draw(&painter, QPointF(look_.TextMargin, it->Top), selections);
    if (caretShown_ && caret_.Row == i) {
      painter.setPen(palette().color(QPalette::Text));
      layout.drawCursor(&painter, QPointF(look_.TextMargin, it->Top), caret_.Column);
    }
  }
}

void ReadoutView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void ReadoutView::scrollContentsBy(int dx, int dy) { viewport()->scroll(dx, dy); }

ReadoutView::Place ReadoutView::PlaceAt(QPoint at) {
  if (rows_.empty()) return {};
  const qreal y = at.y() + verticalScrollBar()->value();
  auto it = std::partition_point(rows_.begin(), rows_.end(),
                                 [y](const Row& r) { return r.Top + r.Height <= y; });
  if (it == rows_.end()) --it;
  const std::size_t row = static_cast<std::size_t>(it - rows_.begin());
  const qreal x = at.x() + horizontalScrollBar()->value() - look_.TextMargin;
  return {static_cast<int>(row), LaidOut(row).lineAt(0).xToCursor(x)};
}

void ReadoutView::RepaintSelectionChange(Place anchorBefore, Place caretBefore) {
  const int first = std::min({anchorBefore.Row, caretBefore.Row, anchor_.Row, caret_.Row});
  const int last = std::max({anchorBefore.Row, caretBefore.Row, anchor_.Row, caret_.Row});
  viewport()->update(RowsRect(first, last));
}

ReadoutView::Place ReadoutView::Clamped(Place place) const {
  if (lines_.empty()) return {};
  place.Row = std::clamp(place.Row, 0, static_cast<int>(lines_.size()) - 1);
  place.Column = std::clamp(
      place.Column, 0, static_cast<int>(lines_[static_cast<std::size_t>(place.Row)].Text.size()));
  return place;
}

void ReadoutView::MoveCaret(Place to, bool extend) {
  if (lines_.empty()) return;
  to = Clamped(to);
  const Place anchorBefore = anchor_, caretBefore = caret_;
  caret_ = to;
  if (!extend) anchor_ = to;
  if (hasFocus() && look_.Caret) {
    caretShown_ = true;
    if (QApplication::cursorFlashTime() > 0)
      blink_.start(QApplication::cursorFlashTime() / 2, this);
  }
  RepaintSelectionChange(anchorBefore, caretBefore);
}

void ReadoutView::Select(Place from, Place to) {
  MoveCaret(from, false);
  MoveCaret(to, true);
}

void ReadoutView::SelectAll() {
  if (lines_.empty()) return;
  Select({0, 0},
         {static_cast<int>(lines_.size()) - 1, static_cast<int>(lines_.back().Text.size())});
}

QString ReadoutView::SelectedText() const {
  const Place from = std::min(anchor_, caret_, Before), to = std::max(anchor_, caret_, Before);
  QStringList pieces;
  for (int i = from.Row; i <= to.Row && HasSelection(); ++i) {
    const QString& text = lines_[static_cast<std::size_t>(i)].Text;
    const int start = i == from.Row ? from.Column : 0;
    const int end = i == to.Row ? to.Column : static_cast<int>(text.size());
    pieces << text.mid(start, end - start);
  }
  return pieces.join(u'\n');
}

void ReadoutView::Copy() const {
  if (HasSelection()) QGuiApplication::clipboard()->setText(SelectedText());
}

void ReadoutView::ShowCaret() {
  if (rows_.empty()) return;
  const Row& row = rows_[static_cast<std::size_t>(caret_.Row)];
  QScrollBar* vertical = verticalScrollBar();
  if (row.Top < vertical->value())
    vertical->setValue(static_cast<int>(row.Top));
  else if (row.Top + row.Height > vertical->value() + viewport()->height())
    vertical->setValue(static_cast<int>(std::ceil(row.Top + row.Height)) - viewport()->height());
  const qreal x = look_.TextMargin +
                  LaidOut(static_cast<std::size_t>(caret_.Row)).lineAt(0).cursorToX(caret_.Column);
  QScrollBar* horizontal = horizontalScrollBar();
  if (x < horizontal->value())
    horizontal->setValue(static_cast<int>(x));
  else if (x > horizontal->value() + viewport()->width())
    horizontal->setValue(static_cast<int>(std::ceil(x)) - viewport()->width());
}

int ReadoutView::ColumnToward(int row, int column, int step) const {
  const QTextLayout& layout = *rows_[static_cast<std::size_t>(row)].Layout;
  return step > 0 ? layout.nextCursorPosition(column) : layout.previousCursorPosition(column);
}

void ReadoutView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  MoveCaret(PlaceAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
  selecting_ = true;
}

void ReadoutView::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
  MoveCaret(PlaceAt(event->position().toPoint()), true);
  ShowCaret();
}

void ReadoutView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
  selecting_ = false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (HasSelection() && clipboard->supportsSelection())
    clipboard->setText(SelectedText(), QClipboard::Selection);
}

void ReadoutView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || lines_.empty()) return;
  // The word under the pointer.
  const Place at = PlaceAt(event->position().toPoint());
  const QString& text = lines_[static_cast<std::size_t>(at.Row)].Text;
  QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
  words.setPosition(at.Column);
  qsizetype start = at.Column;
  if (!words.isAtBoundary() || !(words.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
    start = std::max<qsizetype>(0, words.toPreviousBoundary());
  words.setPosition(at.Column);
  qsizetype end = words.toNextBoundary();
  if (end < 0) end = text.size();
  Select({at.Row, static_cast<int>(start)}, {at.Row, static_cast<int>(end)});
  selecting_ = false;
}

void ReadoutView::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) return Copy();
  if (event == QKeySequence::SelectAll) return SelectAll();
  if (lines_.empty()) return QAbstractScrollArea::keyPressEvent(event);
  struct Move {
    QKeySequence::StandardKey Key;
    bool Extend;
    int Kind;  // 0 character, 1 line, 2 line's ends, 3 text's ends, 4 page
    int Step;
  };
  static const Move moves[] = {
      {QKeySequence::MoveToNextChar, false, 0, 1},
      {QKeySequence::SelectNextChar, true, 0, 1},
      {QKeySequence::MoveToPreviousChar, false, 0, -1},
      {QKeySequence::SelectPreviousChar, true, 0, -1},
      {QKeySequence::MoveToNextLine, false, 1, 1},
      {QKeySequence::SelectNextLine, true, 1, 1},
      {QKeySequence::MoveToPreviousLine, false, 1, -1},
      {QKeySequence::SelectPreviousLine, true, 1, -1},
      {QKeySequence::MoveToStartOfLine, false, 2, -1},
      {QKeySequence::SelectStartOfLine, true, 2, -1},
      {QKeySequence::MoveToEndOfLine, false, 2, 1},
      {QKeySequence::SelectEndOfLine, true, 2, 1},
      {QKeySequence::MoveToStartOfDocument, false, 3, -1},
      {QKeySequence::SelectStartOfDocument, true, 3, -1},
      {QKeySequence::MoveToEndOfDocument, false, 3, 1},
      {QKeySequence::SelectEndOfDocument, true, 3, 1},
      {QKeySequence::MoveToNextPage, false, 4, 1},
      {QKeySequence::SelectNextPage, true, 4, 1},
      {QKeySequence::MoveToPreviousPage, false, 4, -1},
      {QKeySequence::SelectPreviousPage, true, 4, -1},
  };
  const auto move = std::find_if(std::begin(moves), std::end(moves),
                                 [event](const Move& m) { return event == m.Key; });
  if (move == std::end(moves)) return QAbstractScrollArea::keyPressEvent(event);
  const int last = static_cast<int>(lines_.size()) - 1;
  const auto length = [this](int row) {
    return static_cast<int>(lines_[static_cast<std::size_t>(row)].Text.size());
  };
  Place to = caret_;
  // Up, down and a page keep the caret's distance from the left.
  const auto keepX = [&](int row) {
    const qreal x =
        LaidOut(static_cast<std::size_t>(caret_.Row)).lineAt(0).cursorToX(caret_.Column);
    return Place{row, LaidOut(static_cast<std::size_t>(row)).lineAt(0).xToCursor(x)};
  };
  switch (move->Kind) {
    case 0:
      LaidOut(static_cast<std::size_t>(caret_.Row));
      if (move->Step > 0)
        to = caret_.Column < length(caret_.Row)
                 ? Place{caret_.Row, ColumnToward(caret_.Row, caret_.Column, 1)}
                 : Place{std::min(caret_.Row + 1, last), caret_.Row < last ? 0 : caret_.Column};
      else
        to = caret_.Column > 0 ? Place{caret_.Row, ColumnToward(caret_.Row, caret_.Column, -1)}
             : caret_.Row > 0  ? Place{caret_.Row - 1, length(caret_.Row - 1)}
                               : caret_;
      break;
    case 1: to = keepX(std::clamp(caret_.Row + move->Step, 0, last)); break;
    case 2: to = {caret_.Row, move->Step > 0 ? length(caret_.Row) : 0}; break;
    case 3: to = move->Step > 0 ? Place{last, length(last)} : Place{0, 0}; break;
    default: {
      const qreal y =
          rows_[static_cast<std::size_t>(caret_.Row)].Top + move->Step * viewport()->height();
      auto it = std::partition_point(rows_.begin(), rows_.end(),
                                     [y](const Row& r) { return r.Top + r.Height <= y; });
      if (it == rows_.end()) --it;
      to = keepX(static_cast<int>(it - rows_.begin()));
    }
  }
  MoveCaret(to, move->Extend);
  ShowCaret();
}

void ReadoutView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction(tr("&Copier"), this, &ReadoutView::Copy);
  copy->setShortcut(QKeySequence::Copy);
  copy->setEnabled(HasSelection());
  QAction* all = menu.addAction(tr("Tout sélectionner"), this, &ReadoutView::SelectAll);
  all->setShortcut(QKeySequence::SelectAll);
  all->setEnabled(!lines_.empty());
  menu.exec(event->globalPos());
}

void ReadoutView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  if (!look_.Caret) return;
  caretShown_ = true;
  if (QApplication::cursorFlashTime() > 0) blink_.start(QApplication::cursorFlashTime() / 2, this);
  viewport()->update(RowsRect(caret_.Row, caret_.Row));
}

void ReadoutView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  caretShown_ = false;
  blink_.stop();
  viewport()->update(RowsRect(caret_.Row, caret_.Row));
}

void ReadoutView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    ForgetLayouts();
    for (std::size_t i = 0; i < rows_.size(); ++i) Measure(i);
    PlaceRows();
    UpdateScrollBars();
    viewport()->update();
  }
}

void ReadoutView::timerEvent(QTimerEvent* event) {
  if (event->timerId() == blink_.timerId()) {
    caretShown_ = !caretShown_;
    viewport()->update(RowsRect(caret_.Row, caret_.Row));
  } else if (event->timerId() == measureLater_.timerId()) {
    measureLater_.stop();
    std::vector<qreal> tops;
    for (const Row& row : rows_) tops.push_back(row.Top);
    for (std::size_t i = 0; i < rows_.size(); ++i)
      if (!rows_[i].Measured) Measure(i);
    PlaceRows();
    UpdateScrollBars();
    for (std::size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].Top != tops[i]) {
        viewport()->update();
        break;
      }
  } else {
    QAbstractScrollArea::timerEvent(event);
  }
}

}  // namespace tv::ui
