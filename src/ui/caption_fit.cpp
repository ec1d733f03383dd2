// Shrinking a caption's font until its text is whole in its box.
#include "ui/caption_fit.h"

#include <QFont>
#include <QMenuBar>
#include <QWidget>

namespace tv::ui {

int CaptionWidth(const QWidget& widget) {
  if (const auto* bar = qobject_cast<const QMenuBar*>(&widget)) {
    // A menu bar's size hint is that of its entries side by side, whatever
    // room it was given; the entries that find no room go behind "»".
    return bar->sizeHint().width();
  }
  return widget.sizeHint().width();
}

int FitCaptionToWidth(QWidget& widget, int width) {
  QFont font = widget.font();
  int pixels = font.pixelSize() > 0 ? font.pixelSize() : widget.fontInfo().pixelSize();
  while (pixels > kSmallestCaptionPixels && CaptionWidth(widget) > width) {
    font.setPixelSize(--pixels);
    widget.setFont(font);
  }
  return pixels;
}

}  // namespace tv::ui
