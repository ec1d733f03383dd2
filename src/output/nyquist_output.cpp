// The Nyquist picture out of the program: PNG or SVG, and the loop's locus as CSV.
#include "output/nyquist_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QSvgGenerator>
#include <algorithm>
#include <charconv>

#include "files/file_io.h"
#include "render/nyquist_view.h"
#include "output/file_names.h"
#include "output/painter_surface.h"
#include "output/qt_surface.h"
#include "render/nyquist_texts.h"

namespace tv::ui {

namespace {

// Whatever the process's locale says, the point is '.'.
void AppendNumber(std::string& out, double v) {
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 15);
  out.append(buffer, result.ptr);
}

void DrawOn(PlotSurface& surface, const NyquistPicture& n, bool zoom, int width, int height,
            bool black) {
  DrawTarget picture;
  picture.DrawCanvas = picture.ScreenCanvas = &surface;
  picture.PlotWidth = width;
  picture.PlotHeight = height;
  picture.CurvePenWidth = 2;
  picture.FramePenWidth = 1;
  picture.ForceBlack = black ? 1 : 0;
  DrawNyquistView(picture, n, zoom);
}

}  // namespace

std::string NyquistSamplesCsv(const NyquistPicture& n) {
  std::string out = "w,re,im\n";
  if (n.Outcome != NyquistOutcome::Drawn) return out;
  for (const NyquistPoint& p : n.Loop.Points) {
    if (p.Part != ContourPart::Axis || !(p.W > 0)) continue;
    AppendNumber(out, p.W);
    out += ',';
    AppendNumber(out, p.H.real());
    out += ',';
    AppendNumber(out, p.H.imag());
    out += '\n';
  }
  return out;
}

bool WriteNyquistOutput(const NyquistPicture& n, bool zoom, const std::string& path, int width,
                        int height, int fontHeight, bool black, std::string* error) {
  const QString suffix = QFileInfo(QtPath(path)).suffix().toLower();
  const auto fail = [error](const std::string& reason) {
    if (error) *error = reason;
    return false;
  };
  width = std::max(1, width);
  height = std::max(1, height);
  QByteArray bytes;
  if (suffix == QLatin1String("csv")) {
    const std::string csv = NyquistSamplesCsv(n);
    bytes = QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
  } else if (suffix == QLatin1String("png")) {
    QtSurface picture(width, height);
    picture.SetFontHeight(fontHeight);
    DrawOn(picture, n, zoom, width, height, black);
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
    DrawOn(picture, n, zoom, width, height, black);
    if (!picture.End())
      return fail("l'image n'a pas pu \xEAtre cod\xE9"
                  "e");
  } else {
    return fail("format inconnu : .png, .svg ou .csv");
  }
  return WriteFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

bool WriteNyquistFile(const DiagramState& s, bool zoom, const std::string& path, bool black,
                      std::vector<std::string>* lines, std::string* error) {
  const NyquistPicture n = ComputeNyquistPictureOfTexts(s, s.ShowMargins != 0);
  if (lines) {
    if (n.Outcome == NyquistOutcome::Drawn) {
      *lines = NyquistVerdictTexts(n.Loop.Verdict);
      if (!lines->empty()) lines->front() = n.LoopName + " : " + lines->front();
    } else {
      lines->push_back(NyquistOutcomeText(n.Outcome));
    }
  }
  return WriteNyquistOutput(n, zoom, path, kNyquistPictureWidth, kNyquistPictureHeight, 10, black,
                            error);
}

}  // namespace tv::ui
