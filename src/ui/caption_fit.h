// Captions whole in their boxes: the font of a label or menu bar made smaller until its text fits.
#pragma once

class QWidget;

namespace tv::ui {

// The smallest pixel size a caption is made, still readable on any screen.
inline constexpr int kSmallestCaptionPixels = 10;

// Gives widget (a label, a button, a menu bar) the largest pixel size of
// its own font, from the current one down to kSmallestCaptionPixels, at
// which its whole text fits in `width` pixels (its size hint); the family and
// weight stay. Returns the pixel size chosen. A widget whose text fits keeps
// its font untouched.
int FitCaptionToWidth(QWidget& widget, int width);

// The width a caption needs to be whole: the size hint of a label or a
// button (indicator and spacing included), the width of all the entries of
// a menu bar side by side.
int CaptionWidth(const QWidget& widget);

}  // namespace tv::ui
