// A read-only view of coloured, indented lines that a step rewrites: each line is laid out when it
// is first shown and kept until its text changes; selected and copied like any text.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

class QTextLayout;

namespace tv::ui {

// Looks as a read-only text edit holding the same lines looks (one block a
// line, its indent as the block's left margin, headings bold): the same
// pixels, the same scroll ranges. Where a text edit lays out again, at each
// new text, every line from the first to the last that changed, this lays out
// only the lines that changed and are on screen; the lines out of sight are
// measured when the lines stop changing.
class ReadoutView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  struct Line {
    QString Text;
    QColor Colour;
    bool Heading = false;
    int Indent = 0;  // pixels from the left
  };
  // A place in the text: a line, and a character boundary in it.
  struct Place {
    int Row = 0;
    int Column = 0;
    friend bool operator==(const Place&, const Place&) = default;
  };

  // What sets a view apart from a text edit: a label's lines have no margin
  // of their own, size the widget (every line measured at once), show no
  // caret and are written in the widget's own weight.
  struct Look {
    qreal TextMargin = 4;
    bool MeasureAllAtOnce = false;
    bool Caret = true;
    bool PlainInWidgetWeight = false;  // else plain lines are of normal weight
  };

  explicit ReadoutView(QWidget* parent = nullptr);
  ~ReadoutView() override;
  void SetLook(const Look& look);

  // Shows these lines, keeping the scroll position and repainting only the
  // rows whose look or place changed.
  void SetLines(const std::vector<Line>& lines);
  const std::vector<Line>& Lines() const { return lines_; }

  bool HasSelection() const { return anchor_ != caret_; }
  // The selected text, its lines joined by line feeds, as a text edit copies it.
  QString SelectedText() const;
  void Select(Place from, Place to);
  void SelectAll();
  void Copy() const;
  Place Caret() const { return caret_; }

  // The whole text's size with its margins, as a text edit measures it.
  QSizeF ContentSize() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  struct Row {
    qreal Top = 0;
    qreal Height = 0;
    qreal Width = 0;        // of the text, without the indent
    bool Measured = false;  // Width and Height from the laid out line, not estimated
    std::shared_ptr<QTextLayout> Layout;
  };

  QTextLayout& LaidOut(std::size_t row);
  void Measure(std::size_t row);
  void PlaceRows();
  void UpdateScrollBars();
  qreal Estimate(const Line& line);
  void ForgetLayouts();
  Place PlaceAt(QPoint viewportPoint);
  void MoveCaret(Place to, bool extend);
  void ShowCaret();
  void RepaintSelectionChange(Place anchorBefore, Place caretBefore);
  Place Clamped(Place place) const;
  QRect RowsRect(int first, int last) const;
  int ColumnToward(int row, int column, int step) const;

  Look look_;
  std::vector<Line> lines_;
  std::vector<Row> rows_;
  QFont normal_, bold_;
  qreal emptyHeight_[2] = {0, 0};  // a line with nothing laid out yet: normal, heading
  QHash<QChar, qreal> advances_[2];
  qreal contentWidth_ = 0, contentHeight_ = 0;
  Place anchor_, caret_;
  bool selecting_ = false;
  bool caretShown_ = false;
  QBasicTimer measureLater_;
  QBasicTimer blink_;
};

}  // namespace tv::ui
