// A scroll bar that keeps its last pictures: a held arrow repaints it between the same few states.
#include "ui/kept_scroll_bar.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

namespace tv::ui {

KeptScrollBar::KeptScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

bool KeptScrollBar::Same(const Kept& k, const QStyleOptionSlider& o, qint64 palette, qreal ratio) {
  const QStyleOptionSlider& a = k.Option;
  return k.Used != 0 && k.Palette == palette && k.Picture.devicePixelRatio() == ratio &&
         a.rect == o.rect && a.state == o.state && a.direction == o.direction &&
         a.fontMetrics.height() == o.fontMetrics.height() && a.subControls == o.subControls &&
         a.activeSubControls == o.activeSubControls && a.orientation == o.orientation &&
         a.minimum == o.minimum && a.maximum == o.maximum && a.sliderPosition == o.sliderPosition &&
         a.sliderValue == o.sliderValue && a.singleStep == o.singleStep &&
         a.pageStep == o.pageStep && a.upsideDown == o.upsideDown &&
         a.tickPosition == o.tickPosition && a.tickInterval == o.tickInterval &&
         a.notchTarget == o.notchTarget && a.dialWrapping == o.dialWrapping &&
         a.keyboardModifiers == o.keyboardModifiers;
}

void KeptScrollBar::paintEvent(QPaintEvent* event) {
  // Hovered or pressed parts are the scroll bar's own to know.
  if (pressed_ || underMouse() || isSliderDown()) {
    QScrollBar::paintEvent(event);
    return;
  }
  QStyleOptionSlider option;
  initStyleOption(&option);
  option.subControls = QStyle::SC_All;
  option.activeSubControls = QStyle::SC_None;
  const qint64 colours = palette().cacheKey();
  const qreal ratio = devicePixelRatioF();

  Kept* use = nullptr;
  Kept* oldest = &kept_[0];
  for (Kept& k : kept_) {
    if (Same(k, option, colours, ratio)) {
      use = &k;
      break;
    }
    if (k.Used < oldest->Used) oldest = &k;
  }
  if (!use) {
    // Drawn over what lies under a scroll bar before it paints: its
    // window's background.
    use = oldest;
    QImage picture((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(palette().brush(backgroundRole()).color());
    QPainter painter(&picture);
    style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
    painter.end();
    use->Option = option;
    use->Palette = colours;
    use->Picture = std::move(picture);
    ++drawn_;
  }
  use->Used = ++clock_;
  QPainter painter(this);
  painter.setClipRegion(event->region());
  painter.drawImage(QPoint(0, 0), use->Picture);
}

void KeptScrollBar::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  QScrollBar::mousePressEvent(event);
}

void KeptScrollBar::mouseReleaseEvent(QMouseEvent* event) {
  QScrollBar::mouseReleaseEvent(event);
  pressed_ = event->buttons() != Qt::NoButton;
  update();
}

}  // namespace tv::ui
