// The closed-loop locus out of the program: its picture as PNG or SVG, its samples as CSV.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/locus.h"
#include "core/diagram_state.h"

namespace tv::ui {

// The picture of the locus window at its default size.
inline constexpr int kLocusPictureWidth = 640;
inline constexpr int kLocusPictureHeight = 520;

// "value,re,im" then one row per root per sampled value, '.' decimal, 15
// significant digits, LF line ends; only the header when nothing is drawn.
std::string LocusSamplesCsv(const Locus& l);

// Writes the locus to path, replacing it atomically; the format follows the
// extension, in any case: .png or .svg, the picture as the window draws it
// (all black when black is set), or .csv, the samples. False with a French
// reason (Windows-1252) in *error.
bool WriteLocusOutput(const Locus& l, const LocusPoles& poles, std::string_view caption,
                      const std::string& path, int width, int height, int fontHeight, bool black,
                      std::string* error);

// The command line's --locus: the locus of the ticked functions of s over p
// (on range, or from 0 to 100 times p's value), written at the window's
// default size; the read-out lines (the current poles, the stability range,
// or the one line said instead of a locus) go to *lines, Windows-1252.
bool WriteLocusFile(const DiagramState& s, Parameter p,
                    const std::optional<std::pair<double, double>>& range, const std::string& path,
                    bool black, std::vector<std::string>* lines, std::string* error);

}  // namespace tv::ui
