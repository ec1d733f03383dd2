// The step response out of the program: its picture as PNG or SVG, its samples as CSV.
#include "output/step_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QSvgGenerator>
#include <algorithm>
#include <charconv>

#include "files/file_io.h"
#include "render/step_view.h"
#include "output/file_names.h"
#include "output/painter_surface.h"
#include "output/qt_surface.h"
#include "render/step_texts.h"

namespace tv::ui {

namespace {

// Whatever the process's locale says, the point is '.'.
void AppendNumber(std::string& out, double v) {
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 15);
  out.append(buffer, result.ptr);
}

void DrawOn(PlotSurface& surface, const InputResponse& r, std::string_view caption, int width,
            int height, bool black) {
  DrawTarget picture;
  picture.DrawCanvas = picture.ScreenCanvas = &surface;
  picture.PlotWidth = width;
  picture.PlotHeight = height;
  picture.CurvePenWidth = 2;
  picture.FramePenWidth = 1;
  picture.ForceBlack = black ? 1 : 0;
  DrawInputView(picture, r, caption);
}

}  // namespace

std::string StepSamplesCsv(const StepResponse& r) {
  std::string out = "t,y\n";
  out.reserve(out.size() + r.T.size() * 40);
  for (std::size_t k = 0; k < r.T.size(); ++k) {
    AppendNumber(out, r.T[k]);
    out += ',';
    AppendNumber(out, r.Y[k]);
    out += '\n';
  }
  return out;
}

bool WriteStepOutput(const StepResponse& r, std::string_view caption, const std::string& path,
                     int width, int height, int fontHeight, bool black, std::string* error) {
  InputResponse step;
  step.Samples = r;
  return WriteStepOutput(step, caption, path, width, height, fontHeight, black, error);
}

bool WriteStepOutput(const InputResponse& r, std::string_view caption, const std::string& path,
                     int width, int height, int fontHeight, bool black, std::string* error) {
  const QString suffix = QFileInfo(QtPath(path)).suffix().toLower();
  const auto fail = [error](const std::string& reason) {
    if (error) *error = reason;
    return false;
  };
  width = std::max(1, width);
  height = std::max(1, height);
  QByteArray bytes;
  if (suffix == QLatin1String("csv")) {
    const std::string csv = StepSamplesCsv(r.Samples);
    bytes = QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
  } else if (suffix == QLatin1String("png")) {
    QtSurface picture(width, height);
    picture.SetFontHeight(fontHeight);
    DrawOn(picture, r, caption, width, height, black);
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
    DrawOn(picture, r, caption, width, height, black);
    if (!picture.End())
      return fail("l'image n'a pas pu \xEAtre cod\xE9"
                  "e");
  } else {
    return fail("format inconnu : .png, .svg ou .csv");
  }
  return WriteFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

bool WriteStepFile(const DiagramState& s, bool closedLoop, double tMax, const std::string& path,
                   bool black, std::vector<std::string>* lines, std::string* error) {
  return WriteStepFile(s, InputKind::Step, closedLoop, tMax, path, black, lines, error);
}

bool WriteStepFile(const DiagramState& s, InputKind input, bool closedLoop, double tMax,
                   const std::string& path, bool black, std::vector<std::string>* lines,
                   std::string* error) {
  const InputResponse r = ComputeInputResponseOfTexts(s, input, closedLoop, tMax);
  if (lines) {
    *lines = InputReadoutTexts(r);
    if (r.Samples.Outcome != StepOutcome::Drawn)
      lines->push_back(StepOutcomeText(r.Samples.Outcome));
  }
  return WriteStepOutput(r, StepCaption(s, closedLoop), path, kStepPictureWidth, kStepPictureHeight,
                         10, black, error);
}

}  // namespace tv::ui
