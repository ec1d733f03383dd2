// The Nyquist picture out of the program: PNG or SVG, and the loop's locus as CSV.
#pragma once

#include <string>
#include <vector>

#include "analysis/nyquist.h"
#include "core/diagram_state.h"

namespace tv::ui {

// The picture of the Nyquist window at its default size.
inline constexpr int kNyquistPictureWidth = 640;
inline constexpr int kNyquistPictureHeight = 560;

// "w,re,im" then one sample of the loop's locus for w > 0 a line, '.'
// decimal, 15 significant digits, LF line ends; only the header when there
// is no locus.
std::string NyquistSamplesCsv(const NyquistPicture& n);

// Writes the picture to path, replacing it atomically; the format follows
// the extension, in any case: .png or .svg, as the window draws it (width ×
// height, font cell fontHeight, all black when black is set), or .csv, the
// loop's samples. False with a French reason (Windows-1252) in *error.
bool WriteNyquistOutput(const NyquistPicture& n, bool zoom, const std::string& path, int width,
                        int height, int fontHeight, bool black, std::string* error);

// The command line's --nyquist: the ticked functions of s compiled anew,
// margins when the state shows them, at the window's default size; the
// verdict's lines (or the one line said instead) go to *lines,
// Windows-1252.
bool WriteNyquistFile(const DiagramState& s, bool zoom, const std::string& path, bool black,
                      std::vector<std::string>* lines, std::string* error);

}  // namespace tv::ui
