// Fuzzes the points text: splitting, decoding in every unit choice, the 500-point store.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/diagram_state.h"
#include "files/points_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // First byte: the unit choices; the rest is the editor's text.
  const tv::PointUnits units{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  static tv::DiagramState s;  // 12 kB of points: kept between runs, reset by decoding
  const auto lines = tv::SplitPointsText(text);
  const int count = tv::DecodePoints(s, lines, units);
  if (count < 0 || count > tv::kMaxPoints || count != s.PointCount) std::abort();
  if (static_cast<std::size_t>(count) > lines.size()) std::abort();
  return 0;
}
