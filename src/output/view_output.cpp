// A following view's picture as PNG or SVG, or its samples as CSV, written to a file.
#include "output/view_output.h"

#include <QByteArray>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <string_view>

#include "files/file_io.h"
#include "output/file_names.h"
#include "output/png_output.h"
#include "output/qt_surface.h"
#include "output/vector_output.h"

namespace tv::ui {

namespace {

void DrawOn(PlotSurface& surface, int width, int height, bool black, const DrawViewPicture& draw) {
  DrawTarget picture;
  picture.DrawCanvas = picture.ScreenCanvas = &surface;
  picture.PlotWidth = width;
  picture.PlotHeight = height;
  picture.CurvePenWidth = 2;
  picture.FramePenWidth = 1;
  picture.ForceBlack = black ? 1 : 0;
  draw(picture);
}

}  // namespace

void AppendCsvNumber(std::string& out, double v) {
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 15);
  out.append(buffer, result.ptr);
}

bool WriteViewOutput(const std::string& path, int width, int height, int fontHeight, bool black,
                     const DrawViewPicture& draw, const std::function<std::string()>& samples,
                     std::string* error) {
  const QString suffix = QFileInfo(QtPath(path)).suffix().toLower();
  const auto fail = [error](const std::string& reason) {
    if (error) *error = reason;
    return false;
  };
  width = std::max(1, width);
  height = std::max(1, height);
  QByteArray bytes;
  if (suffix == QLatin1String("csv")) {
    const std::string csv = samples();
    bytes = QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
  } else if (suffix == QLatin1String("png")) {
    QtSurface picture(width, height);
    picture.SetFontHeight(fontHeight);
    DrawOn(picture, width, height, black, draw);
    picture.Finish();
    if (!EncodePng(picture.Image(), bytes))
      return fail("l'image n'a pas pu \xEAtre cod\xE9"
                  "e");
  } else if (suffix == QLatin1String("svg")) {
    const VectorOutput* vector = LinkedVectorOutput();
    if (!vector) return fail("SVG indisponible dans ce programme");
    if (!vector->SvgPicture(bytes, width, height, fontHeight, [&](PlotSurface& picture) {
          DrawOn(picture, width, height, black, draw);
        }))
      return fail("l'image n'a pas pu \xEAtre cod\xE9"
                  "e");
  } else {
    return fail("format inconnu : .png, .svg ou .csv");
  }
  return WriteFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

}  // namespace tv::ui
