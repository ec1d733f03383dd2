// SVG pictures, and the table of vector pictures filled for every program linked with them.
#include "output/svg_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QSvgGenerator>

#include "output/painter_surface.h"
#include "output/picture_output.h"
#include "output/vector_output.h"

namespace tv::ui {

void SetUpSvgPicture(QSvgGenerator& generator, QIODevice* out, int width, int height) {
  generator.setOutputDevice(out);
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setResolution(96);
  generator.setTitle(QStringLiteral("Tracevue"));
}

bool DrawSvgPicture(QByteArray& bytes, int width, int height, int fontHeight,
                    const std::function<void(PlotSurface&)>& draw) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  SetUpSvgPicture(generator, &buffer, width, height);
  PainterSurface picture(generator, fontHeight);
  draw(picture);
  return picture.End();
}

namespace {

constexpr VectorOutput kVectorOutput{&ExportPicture, &ExportPrintedPage, &DrawSvgPicture};

// Filled before main, in every program this file is linked into (the
// library is linked whole).
const bool kVectorOutputLinked = (detail::linkedVectorOutput = &kVectorOutput, true);

}  // namespace

}  // namespace tv::ui
