// SVG pictures: the generator's set-up, and a drawing on a surface coded as SVG.
#pragma once

#include <functional>

#include "render/plot_surface.h"

class QByteArray;
class QIODevice;
class QSvgGenerator;

namespace tv::ui {

// An SVG generator set to write a width × height picture, titled "Tracevue",
// to out; a pixel of the picture is a CSS pixel, shown at its screen size.
void SetUpSvgPicture(QSvgGenerator& generator, QIODevice* out, int width, int height);

// What draw puts on a width × height surface with the font cell fontHeight,
// coded as SVG into bytes; false when it cannot be coded.
bool DrawSvgPicture(QByteArray& bytes, int width, int height, int fontHeight,
                    const std::function<void(PlotSurface&)>& draw);

}  // namespace tv::ui
