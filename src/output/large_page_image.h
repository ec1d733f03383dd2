// Large pictures whose pixels the kernel maps in 2 MB pages rather than 4 kB ones.
#pragma once

#include <QImage>

namespace tv::ui {

// A width × height picture of a 32-bit format, not filled. When it is large
// (a diagram at full size is 3 MB), its pixels are asked of the kernel in
// 2 MB pages, where it grants them: the first writing then costs one page
// fault per 2 MB instead of 512, which on a virtual machine was a tenth of a
// batch export's time. Elsewhere, or when refused, an ordinary QImage.
QImage LargePageImage(int width, int height, QImage::Format format);

}  // namespace tv::ui
