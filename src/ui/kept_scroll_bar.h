// A scroll bar that keeps its last pictures: a held arrow repaints it between the same few states.
#pragma once

#include <QImage>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <array>
#include <cstdint>

namespace tv::ui {

// Painted as QScrollBar paints itself, from a picture kept for each of its
// last few states (size, range, position, steps, palette, flags). The style
// lays a long scroll bar's gradients out over several threads, whose hand-over
// costs a read-outs window a millisecond at every step that moves its range;
// the kept picture is one copy. Under the mouse or pressed, it paints itself
// as the scroll bar does, hovered and sunken parts included.
class KeptScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  explicit KeptScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

  // How many pictures were drawn by the style: a test's count.
  int StyleDrawCount() const { return drawn_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct Kept {
    QStyleOptionSlider Option;
    qint64 Palette = 0;
    QImage Picture;
    std::uint64_t Used = 0;  // 0: empty
  };
  static bool Same(const Kept& k, const QStyleOptionSlider& o, qint64 palette, qreal ratio);

  std::array<Kept, 4> kept_;
  std::uint64_t clock_ = 0;
  int drawn_ = 0;
  bool pressed_ = false;
};

}  // namespace tv::ui
