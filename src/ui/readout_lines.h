// Lines of read-outs shown and selected as a label shows them, laid out again only where they
// changed.
#pragma once

#include <QMargins>
#include <QSize>
#include <QString>

#include "ui/readout_view.h"

namespace tv::ui {

// A selectable label's look (no frame, the window's colours, text from the
// top left of its contents) for plain lines that a step rewrites: where a
// label lays its whole text out several times over at each new text, this
// lays out once the lines that changed, and paints only their rows.
// Its size is the label's: the widest line and every line, within its
// contents margins, never below its minimum size.
class ReadoutLines : public ReadoutView {
 public:
  explicit ReadoutLines(QWidget* parent = nullptr);

  QString text() const { return text_; }
  void setText(const QString& text);
  // Space around the lines, as a label's contents margins.
  void SetMargins(const QMargins& margins);
  QMargins Margins() const { return margins_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  // A label does not scroll.
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ShowText();

  QString text_;
  QMargins margins_;
};

}  // namespace tv::ui
