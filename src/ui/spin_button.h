// A pair of up and down arrows, 17 x 25 pixels, that repeat while held.
#pragma once

#include <QTimer>
#include <QWidget>

namespace tv::ui {

// Pressing an arrow emits its signal at once; holding it repeats the signal,
// the first repeat initialRepeatDelayMs() after the press, the next ones every
// repeatIntervalMs(). The repeat timer is single-shot and is started again
// only after the connected handlers have returned, so a slow handler (a
// redraw) is never called again before it has finished and repeats never pile
// up. While the pointer is off the pressed arrow the repeats are held back.
class SpinButton : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int initialRepeatDelayMs READ initialRepeatDelayMs WRITE setInitialRepeatDelayMs)
  Q_PROPERTY(int repeatIntervalMs READ repeatIntervalMs WRITE setRepeatIntervalMs)

 public:
  enum class Arrow { None, Up, Down };

  static constexpr int kWidth = 17;
  static constexpr int kHeight = 25;

  explicit SpinButton(QWidget* parent = nullptr);

  int initialRepeatDelayMs() const { return initialDelayMs_; }
  void setInitialRepeatDelayMs(int ms);
  int repeatIntervalMs() const { return intervalMs_; }
  void setRepeatIntervalMs(int ms);

  // The arrow held down with the mouse, if any.
  Arrow pressedArrow() const { return pressed_; }
  // Which arrow a point of the widget belongs to: the upper half is Up.
  Arrow arrowAt(QPoint pos) const;

  QSize sizeHint() const override { return {kWidth, kHeight}; }

 signals:
  void upClicked();
  void downClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Emit(Arrow arrow);
  void RepeatTimeout();
  void Release();

  QTimer repeatTimer_;
  Arrow pressed_ = Arrow::None;
  bool pointerOnPressed_ = false;
  int initialDelayMs_ = 400;
  int intervalMs_ = 100;
};

}  // namespace tv::ui
