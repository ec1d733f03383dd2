// Places the windows inside the screen's free area, beside the main window when there is room.
#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tv::ui {

namespace {

// Pixels left between the main window and the one beside it.
constexpr int kGap = 8;
// A window beside the main one may be narrowed to this share of its width
// (in percent) to stay clear of it.
constexpr int kNarrowestShare = 70;

// r moved (not resized) so that it lies inside area; area must hold its size.
QRect MovedInside(const QRect& area, QRect r) {
  r.moveLeft(std::clamp(r.left(), area.left(), area.left() + area.width() - r.width()));
  r.moveTop(std::clamp(r.top(), area.top(), area.top() + area.height() - r.height()));
  return r;
}

QRect AreaOf(const QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

// Gives the window the frame rectangle `frame`, the window system's frame
// margins taken off for its own size.
void SetFrameRect(QWidget& window, const QRect& frame) {
  const QSize margins = window.frameGeometry().size() - window.size();
  if (frame.size() != window.frameGeometry().size())
    window.resize(frame.size() - margins.expandedTo(QSize(0, 0)));
  window.move(frame.topLeft());
}

}  // namespace

QRect PlaceBeside(const QRect& area, const QRect& main, const QSize& frame) {
  const QSize size = frame.boundedTo(area.size());
  const int top = main.isValid() ? main.top() : area.top();
  if (main.isValid()) {
    // Beside: right, left, then below, narrowed to the room there when that
    // keeps most of the window's width, clear of the main window across and
    // fitted inside the area the other way.
    const int roomRight = area.right() - main.right() - kGap;
    const int roomLeft = main.left() - kGap - area.left();
    const int narrowest = size.width() * kNarrowestShare / 100;
    const QSize right(std::clamp(roomRight, narrowest, size.width()), size.height());
    const QSize left(std::clamp(roomLeft, narrowest, size.width()), size.height());
    const QRect candidates[] = {
        QRect(QPoint(main.right() + 1 + kGap, top), right),
        QRect(QPoint(main.left() - kGap - left.width(), top), left),
        QRect(QPoint(main.left(), main.bottom() + 1 + kGap), size),
    };
    for (const QRect& c : candidates) {
      const QRect fitted = MovedInside(area, c);
      if (!fitted.intersects(main)) return fitted;
    }
  }
  return MovedInside(area, QRect(QPoint(area.right() + 1 - size.width(), top), size));
}

QRect FitInside(const QRect& area, const QPoint& frameTopLeft, const QSize& frame) {
  return MovedInside(area, QRect(frameTopLeft, frame.boundedTo(area.size())));
}

void PlaceWindowBeside(QWidget& window, const QWidget* main) {
  const QRect mainFrame = main ? main->frameGeometry() : QRect();
  SetFrameRect(window, PlaceBeside(AreaOf(window), mainFrame, window.frameGeometry().size()));
}

void FitWindowInsideScreen(QWidget& window) {
  const QRect frame = window.frameGeometry();
  SetFrameRect(window, FitInside(AreaOf(window), frame.topLeft(), frame.size()));
}

}  // namespace tv::ui
