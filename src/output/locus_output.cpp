// The closed-loop locus out of the program: its picture as PNG or SVG, its samples as CSV.
#include "output/locus_output.h"

#include "render/locus_view.h"
#include "render/step_view.h"
#include "output/view_output.h"
#include "render/locus_texts.h"

namespace tv::ui {

std::string LocusSamplesCsv(const Locus& l) {
  std::string out = "value,re,im\n";
  for (const LocusSample& s : l.Samples) {
    if (!s.Ok) continue;
    for (const std::complex<double>& r : s.Roots) {
      AppendCsvNumber(out, s.Value);
      out += ',';
      AppendCsvNumber(out, r.real());
      out += ',';
      AppendCsvNumber(out, r.imag());
      out += '\n';
    }
  }
  return out;
}

bool WriteLocusOutput(const Locus& l, const LocusPoles& poles, std::string_view caption,
                      const std::string& path, int width, int height, int fontHeight, bool black,
                      std::string* error) {
  return WriteViewOutput(
      path, width, height, fontHeight, black,
      [&](const DrawTarget& picture) { DrawLocusView(picture, l, poles, caption); },
      [&] { return LocusSamplesCsv(l); }, error);
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
