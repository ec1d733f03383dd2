// The command line's options, each described once: read by QCommandLineParser into Options, and the
// French help.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "analysis/input_response.h"
#include "core/parameters.h"
#include "files/points_text.h"

namespace tv::app {

// Csv: not a picture but the drawn curves' numbers.
enum class PictureFormat { Png, Bmp, Emf, Svg, Pdf, Csv };

// What the arguments ask for, before anything is applied to a state.
struct Options {
  std::optional<QString> File;
  std::array<std::optional<std::string>, 3> Num, Den;  // Windows-1252, blanks removed
  std::optional<std::array<bool, 4>> Curves;
  std::vector<std::pair<Parameter, double>> Sets;  // in the order given
  std::optional<std::pair<int, int>> Decades;
  std::optional<int> GainMax;
  std::optional<std::uint8_t> Mode;
  bool Margins = false;
  bool Asymptotes = false;
  bool Chart = false;  // the Black-Nichols contours over the Black view
  std::optional<std::uint8_t> View;
  std::optional<QString> Points;
  PointUnits Units;
  std::optional<QString> Export;
  PictureFormat Format = PictureFormat::Png;
  std::optional<QString> Capture;
  std::optional<QString> Save;
  std::optional<QString> Worksheet;
  std::optional<QString> Report;
  std::optional<std::string> Tune;  // the parameter's name as given
  bool ClosedLoop = false;
  std::optional<QString> Step;  // the step response: .png, .svg or .csv
  double StepTMax = 0;          // 0: the span chosen from the poles
  InputKind StepInput = InputKind::Step;
  std::optional<QString> Nyquist;  // the Nyquist picture: .png, .svg or .csv
  bool NyquistZoom = false;        // -2 ... +1 on both axes
  std::optional<QString> Locus;    // the closed-loop locus: .png, .svg or .csv
  Parameter LocusParam = Parameter::K;
  std::optional<std::pair<double, double>> LocusRange;  // the default from the value
  int Width = kDefaultPlotWidth;
  int Height = kDefaultPlotHeight;
  bool Black = false;
  bool BlackLines = false;  // the printed page's darker pens
  bool Help = false;
  bool Version = false;
};

// Reads the arguments (program name excluded) into o. An empty result means
// success; otherwise the French reason, naming the option at fault. --help
// and --version are read even when something else is refused.
QString ParseOptions(const QStringList& arguments, Options& o);

// The help of --help, in French: the parser's own text of the options, then
// examples and the exit codes. A QCoreApplication must exist.
QString HelpText();

// The option table as the help shows it: the name without its dashes, the
// name of its value (empty for a switch) and its line of help.
struct OptionHelp {
  QString Name;
  QString ValueName;
  QString Description;
};
std::vector<OptionHelp> OptionHelps();

// The examples and the exit statuses that end the help (UTF-8 texts).
struct CommandExample {
  const char* Command;
  const char* Effect;
};
struct ExitStatus {
  int Code;
  const char* Meaning;
};
std::span<const CommandExample> CommandExamples();
std::span<const ExitStatus> ExitStatuses();

}  // namespace tv::app
