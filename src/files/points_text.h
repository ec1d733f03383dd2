// The points editor's text: one measured point a line, decoded into the store of the diagram state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/diagram_state.h"

namespace tv {

// The unit choices of the editor's three radio-button groups, read when the
// text is decoded. The defaults are rad/s, dB and degrees, the units of the store.
struct PointUnits {
  bool Hertz = false;      // first column in Hz rather than rad/s
  bool RatioGain = false;  // second column a plain ratio rather than dB
  bool Radians = false;    // third column in radians rather than degrees
};

// Separators between the numbers of a line (a tab counts as a space).
inline constexpr std::string_view kPointSeparators = " :;";

// Follows the count in the message shown after decoding (Windows-1252).
inline constexpr std::string_view kPointsStoredSuffix = " point(s) m\xE9moris\xE9(s)";

// One number of a line: optional sign, digits with an optional decimal
// separator, optional exponent, the whole token and nothing else. The
// separator may be '.' or ',' whatever the process locale. False when the
// token does not convert or lies beyond the range of a double.
bool ConvertPointToken(std::string_view token, double& value);

// Appends at most one point to the store from one line (tabs already turned
// into spaces): the first three numbers, converted from the chosen units.
// A line gives no point when one of them does not convert, when it has fewer
// than three, when a ratio gain is 0 or below, or when it ends with ':' or
// ';'. Numbers after the third are ignored. When the store already holds its
// 500 points the line is not stored. True when a point was appended.
bool ParsePointLine(DiagramState& s, std::string_view line, const PointUnits& units);

// Empties the store, then parses every line with its tabs turned into
// spaces. Returns the new PointCount.
int DecodePoints(DiagramState& s, const std::vector<std::string>& lines, const PointUnits& units);

// Lines of a points file: a line ends at CR, LF or CR LF. A text ending with
// a line end has no empty last line; an empty text has no line.
std::vector<std::string> SplitPointsText(std::string_view bytes);

// The text a points file is saved as: every line followed by CR LF.
std::string JoinPointsText(const std::vector<std::string>& lines);

// "12 point(s) mémorisé(s)" for 12, in Windows-1252.
std::string PointsStoredMessage(int count);

// The name a points file is saved under: the chosen one with its extension
// replaced by ".txt" (added when it has none).
std::string PointsSaveName(std::string_view chosen);

}  // namespace tv
