// The step response out of the program: its picture as PNG or SVG, its samples as CSV.
#include "output/step_output.h"

#include "render/step_view.h"
#include "output/view_output.h"
#include "render/step_texts.h"

namespace tv::ui {

std::string StepSamplesCsv(const StepResponse& r) {
  std::string out = "t,y\n";
  out.reserve(out.size() + r.T.size() * 40);
  for (std::size_t k = 0; k < r.T.size(); ++k) {
    AppendCsvNumber(out, r.T[k]);
    out += ',';
    AppendCsvNumber(out, r.Y[k]);
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
  return WriteViewOutput(
      path, width, height, fontHeight, black,
      [&](const DrawTarget& picture) { DrawInputView(picture, r, caption); },
      [&] { return StepSamplesCsv(r.Samples); }, error);
}

bool WriteStepFile(const DiagramState& s, bool closedLoop, double tMax, const std::string& path,
                   bool black, std::vector<std::string>* lines, std::string* error) {
  return WriteStepFile(s, InputKind::Step, closedLoop, tMax, path, black, lines, error);
}

bool WriteStepFile(const DiagramState& s, InputKind input, bool closedLoop, double tMax,
                   const std::string& path, bool black, std::vector<std::string>* lines,
                   std::string* error, std::vector<std::string>* notes) {
  const InputResponse r = ComputeInputResponseOfTexts(s, input, closedLoop, tMax);
  if (notes) *notes = StepNoteTexts(r.Samples);
  if (lines) {
    *lines = InputReadoutTexts(r);
    if (r.Samples.Outcome != StepOutcome::Drawn)
      lines->push_back(StepOutcomeText(r.Samples.Outcome));
  }
  return WriteStepOutput(r, StepCaption(s, closedLoop), path, kStepPictureWidth, kStepPictureHeight,
                         10, black, error);
}

}  // namespace tv::ui
