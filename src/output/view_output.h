// A following view's picture as PNG or SVG, or its samples as CSV, written to a file.
#pragma once

#include <functional>
#include <string>

#include "render/draw_target.h"

namespace tv::ui {

// Appends v with 15 significant digits and a '.' point, whatever the
// process's locale says.
void AppendCsvNumber(std::string& out, double v);

// What a view draws: its picture onto the target given (surface, size, pens,
// black).
using DrawViewPicture = std::function<void(const DrawTarget& picture)>;

// Writes to path, replacing it atomically; the format follows the extension,
// in any case: .png or .svg, what draw puts on a picture of width × height
// with the font cell fontHeight (all black when black is set), or .csv, the
// text samples gives. False with a French reason (Windows-1252) in *error.
bool WriteViewOutput(const std::string& path, int width, int height, int fontHeight, bool black,
                     const DrawViewPicture& draw, const std::function<std::string()>& samples,
                     std::string* error);

}  // namespace tv::ui
