// The spin button of the parameter steps: two arrows with a press-and-hold repeat.
#include "ui/spin_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QPointer>
#include <algorithm>

namespace tv::ui {

SpinButton::SpinButton(QWidget* parent) : QWidget(parent) {
  setFixedSize(kWidth, kHeight);
  setFocusPolicy(Qt::NoFocus);
  repeatTimer_.setSingleShot(true);
  // Precise, so that a repeat never comes before its delay.
  repeatTimer_.setTimerType(Qt::PreciseTimer);
  connect(&repeatTimer_, &QTimer::timeout, this, &SpinButton::RepeatTimeout);
}

void SpinButton::setInitialRepeatDelayMs(int ms) { initialDelayMs_ = std::max(0, ms); }

void SpinButton::setRepeatIntervalMs(int ms) { intervalMs_ = std::max(0, ms); }

SpinButton::Arrow SpinButton::arrowAt(QPoint pos) const {
  if (!rect().contains(pos)) return Arrow::None;
  return 2 * pos.y() < height() ? Arrow::Up : Arrow::Down;
}

void SpinButton::Emit(Arrow arrow) {
  if (arrow == Arrow::Up)
    emit upClicked();
  else if (arrow == Arrow::Down)
    emit downClicked();
}

void SpinButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || pressed_ != Arrow::None) {
    event->ignore();
    return;
  }
  const Arrow arrow = arrowAt(event->position().toPoint());
  if (arrow == Arrow::None) return;
  pressed_ = arrow;
  pointerOnPressed_ = true;
  update();
  // The delay counts from the press, not from the end of the first handler.
  repeatTimer_.start(initialDelayMs_);
  Emit(arrow);
}

void SpinButton::mouseMoveEvent(QMouseEvent* event) {
  if (pressed_ == Arrow::None) return;
  const bool on = arrowAt(event->position().toPoint()) == pressed_;
  if (on != pointerOnPressed_) {
    pointerOnPressed_ = on;
    update();
  }
}

void SpinButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Release();
}

void SpinButton::Release() {
  repeatTimer_.stop();
  if (pressed_ == Arrow::None) return;
  pressed_ = Arrow::None;
  pointerOnPressed_ = false;
  update();
}

void SpinButton::RepeatTimeout() {
  if (pressed_ == Arrow::None) return;
  if (pointerOnPressed_) {
    QPointer<SpinButton> alive(this);
    Emit(pressed_);
    if (!alive) return;
  }
  // A handler that ran an event loop may have seen the release meanwhile.
  if (pressed_ != Arrow::None) repeatTimer_.start(intervalMs_);
}

void SpinButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) Release();
  QWidget::changeEvent(event);
}

void SpinButton::hideEvent(QHideEvent* event) {
  Release();
  QWidget::hideEvent(event);
}

void SpinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int upHeight = (height() + 1) / 2;
  const QRect halves[2] = {QRect(0, 0, width(), upHeight),
                           QRect(0, upHeight, width(), height() - upHeight)};
  const Arrow arrows[2] = {Arrow::Up, Arrow::Down};
  for (int k = 0; k < 2; ++k) {
    QStyleOption option;
    option.initFrom(this);
    option.rect = halves[k];
    const bool down = pressed_ == arrows[k] && pointerOnPressed_;
    option.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
    option.rect = halves[k].adjusted(3, 2, -3, -2);
    if (down) option.rect.translate(1, 1);
    style()->drawPrimitive(k == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                           &option, &painter, this);
  }
}

}  // namespace tv::ui
