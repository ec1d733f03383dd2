// The step response out of the program: its picture as PNG or SVG, its samples as CSV.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/input_response.h"
#include "analysis/step_response.h"
#include "core/diagram_state.h"

namespace tv::ui {

// The picture of the time-response window at its default size.
inline constexpr int kStepPictureWidth = 640;
inline constexpr int kStepPictureHeight = 420;

// "t,y" then one sample a line, '.' decimal, 15 significant digits, LF line
// ends; only the header when the response has no samples.
std::string StepSamplesCsv(const StepResponse& r);

// Writes the response to path, replacing it atomically; the format follows
// the extension, in any case: .png or .svg, the picture as the window draws
// it (width × height, font cell fontHeight, all black when black is set), or
// .csv, the samples. False with a French reason (Windows-1252) in *error.
bool WriteStepOutput(const StepResponse& r, std::string_view caption, const std::string& path,
                     int width, int height, int fontHeight, bool black, std::string* error);

// The same for any input (the picture as DrawInputView draws it; the CSV
// header stays "t,y", y the response to that input).
bool WriteStepOutput(const InputResponse& r, std::string_view caption, const std::string& path,
                     int width, int height, int fontHeight, bool black, std::string* error);

// The command line's --step: the response of the ticked functions of s,
// compiled anew, written to path at the window's default size; the lines the
// picture writes (the read-outs, or the one line said instead of a curve)
// go to *lines, Windows-1252. False with a French reason in *error when the
// file cannot be written.
bool WriteStepFile(const DiagramState& s, bool closedLoop, double tMax, const std::string& path,
                   bool black, std::vector<std::string>* lines, std::string* error);
// The same with --input: the response to a step, a ramp or an impulse;
// the notes the picture writes over its frame (a "t max" brought back, an
// oscillation too fast to draw) go to *notes, Windows-1252.
bool WriteStepFile(const DiagramState& s, InputKind input, bool closedLoop, double tMax,
                   const std::string& path, bool black, std::vector<std::string>* lines,
                   std::string* error, std::vector<std::string>* notes = nullptr);

}  // namespace tv::ui
