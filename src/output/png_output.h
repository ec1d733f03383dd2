// The one way the program codes a picture as PNG: a palette image when it has few colours.
#pragma once

class QByteArray;
class QImage;

namespace tv::ui {

// The picture as PNG bytes. An opaque 32-bit picture (every picture the
// program draws) is coded here, at zlib's fastest level: with at most 256
// colours as a palette image, one byte a pixel; otherwise as 24-bit RGB,
// each row given as its difference from the row above, which keeps the grid's
// and the axes' rows small. Any other picture goes to Qt's own PNG writer.
// The decoded pixels are the picture's in every case. False when it cannot
// be coded.
bool EncodePng(const QImage& image, QByteArray& bytes);

}  // namespace tv::ui
