// The Nyquist picture out of the program: PNG or SVG, and the loop's locus as CSV.
#include "output/nyquist_output.h"

#include "render/nyquist_view.h"
#include "output/view_output.h"
#include "render/nyquist_texts.h"

namespace tv::ui {

std::string NyquistSamplesCsv(const NyquistPicture& n) {
  std::string out = "w,re,im\n";
  if (n.Outcome != NyquistOutcome::Drawn) return out;
  for (const NyquistPoint& p : n.Loop.Points) {
    if (p.Part != ContourPart::Axis || !(p.W > 0)) continue;
    AppendCsvNumber(out, p.W);
    out += ',';
    AppendCsvNumber(out, p.H.real());
    out += ',';
    AppendCsvNumber(out, p.H.imag());
    out += '\n';
  }
  return out;
}

bool WriteNyquistOutput(const NyquistPicture& n, bool zoom, const std::string& path, int width,
                        int height, int fontHeight, bool black, std::string* error) {
  return WriteViewOutput(
      path, width, height, fontHeight, black,
      [&](const DrawTarget& picture) { DrawNyquistView(picture, n, zoom); },
      [&] { return NyquistSamplesCsv(n); }, error);
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
