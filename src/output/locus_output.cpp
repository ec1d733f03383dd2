// The closed-loop locus out of the program: its picture as PNG or SVG, its samples as CSV.
#include "output/locus_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QSvgGenerator>
#include <algorithm>
#include <charconv>

#include "files/file_io.h"
#include "render/locus_view.h"
#include "render/step_view.h"
#include "output/file_names.h"
#include "output/painter_surface.h"
#include "output/qt_surface.h"
#include "render/locus_texts.h"

namespace tv::ui {

namespace {

// Whatever the process's locale says, the point is '.'.
void AppendNumber(std::string& out, double v) {
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 15);
  out.append(buffer, result.ptr);
}

void DrawOn(PlotSurface& surface, const Locus& l, const LocusPoles& poles, std::string_view caption,
            int width, int height, bool black) {
  DrawTarget picture;
  picture.DrawCanvas = picture.ScreenCanvas = &surface;
  picture.PlotWidth = width;
  picture.PlotHeight = height;
  picture.CurvePenWidth = 2;
  picture.FramePenWidth = 1;
  picture.ForceBlack = black ? 1 : 0;
  DrawLocusView(picture, l, poles, caption);
}

}  // namespace

std::string LocusSamplesCsv(const Locus& l) {
  std::string out = "value,re,im\n";
  for (const LocusSample& s : l.Samples) {
    if (!s.Ok) continue;
    for (const std::complex<double>& r : s.Roots) {
      AppendNumber(out, s.Value);
      out += ',';
      AppendNumber(out, r.real());
      out += ',';
      AppendNumber(out, r.imag());
      out += '\n';
    }
  }
  return out;
}

bool WriteLocusOutput(const Locus& l, const LocusPoles& poles, std::string_view caption,
                      const std::string& path, int width, int height, int fontHeight, bool black,
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
    const std::string csv = LocusSamplesCsv(l);
    bytes = QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
  } else if (suffix == QLatin1String("png")) {
    QtSurface picture(width, height);
    picture.SetFontHeight(fontHeight);
    DrawOn(picture, l, poles, caption, width, height, black);
    picture.Finish();
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.Image().save(&buffer, "PNG"))
      return fail("l'image n'a pas pu \xEAtre cod\xE9"
                  "e");
  } else if (suffix == QLatin1String("svg")) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    SetUpSvgPicture(generator, &buffer, width, height);
    PainterSurface picture(generator, fontHeight);
    DrawOn(picture, l, poles, caption, width, height, black);
    if (!picture.End())
      return fail("l'image n'a pas pu \xEAtre cod\xE9"
                  "e");
  } else {
    return fail("format inconnu : .png, .svg ou .csv");
  }
  return WriteFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

bool WriteLocusFile(const DiagramState& s, Parameter p,
                    const std::optional<std::pair<double, double>>& range, const std::string& path,
                    bool black, std::vector<std::string>* lines, std::string* error) {
  const StateLocus locus = ComputeStateLocus(s, p, range);
  if (lines) {
    *lines = LocusPoleLines(locus.Poles, p);
    for (const std::string& line : LocusRangeLines(locus.L)) lines->push_back(line);
    if (locus.L.Outcome != LocusOutcome::Drawn) lines->push_back(LocusOutcomeText(locus.L));
  }
  return WriteLocusOutput(locus.L, locus.Poles, StepCaption(s, true), path, kLocusPictureWidth,
                          kLocusPictureHeight, 10, black, error);
}

}  // namespace tv::ui
