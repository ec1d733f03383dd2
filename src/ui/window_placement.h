// Where a window opens: inside the screen's free area, beside the main window when there is room.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace tv::ui {

// The frame rectangle for a window whose frame measures `frame`, on a screen
// whose free area (without panels and docks) is `area`, beside the main
// window's frame `main`: right of it, else left of it (narrowed to the room
// there down to 70 % of its width), else below it, when the window fits
// there; otherwise at the area's right edge, over the main window. The top follows `preferredTop`
// (the main window's top when it is beside it) as far as the area allows. The result always lies
// inside `area`, shrunk to it when the window is larger.
QRect PlaceBeside(const QRect& area, const QRect& main, const QSize& frame);

// The frame rectangle a main window of frame size `frame` keeps at its
// place `frameTopLeft`, shrunk and moved so that it lies inside `area`.
QRect FitInside(const QRect& area, const QPoint& frameTopLeft, const QSize& frame);

// Moves (and when needed shrinks) a shown window to PlaceBeside of its
// screen's free area and the frame of `main` (none: the area's centre line).
void PlaceWindowBeside(QWidget& window, const QWidget* main);

// Shrinks and moves a shown window so that it lies wholly inside its screen's free area.
void FitWindowInsideScreen(QWidget& window);

}  // namespace tv::ui
