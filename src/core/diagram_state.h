// The document: functions, parameters, view settings, measured points, files; where it is drawn is
// apart (render/draw_target.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <optional>
#include <string_view>
#include <vector>

#include "expression/compiled_text.h"

namespace tv {

class DiagramHost;
struct MarginRecord;

// Longest function text kept; a longer text is cut to this many bytes when stored.
inline constexpr int kFunctionTextMax = 80;

// A function text as held in the state and in the transfer file: a length byte
// followed by 80 Windows-1252 bytes. Bytes after the length are not significant.
struct FunctionText {
  std::uint8_t Length = 0;
  char Chars[kFunctionTextMax] = {};

  std::string_view View() const;  // the significant bytes
  std::string Str() const { return std::string(View()); }
  void Assign(std::string_view text);  // cut to 80 bytes
  bool operator==(std::string_view text) const { return View() == text; }
};
static_assert(sizeof(FunctionText) == 81, "a function text is 81 bytes on file");

// Coefficients of p^0 .. p^5.
using CoefficientSet = std::array<double, 6>;

struct MeasuredPoint {
  double PulsationRadS = 0;  // w
  double GainDb = 0;
  double PhaseDeg = 0;
};
static_assert(sizeof(MeasuredPoint) == 24);

struct Rgb {
  std::uint8_t R = 0, G = 0, B = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};      // H1
inline constexpr Rgb kRed{255, 0, 0};       // H2
inline constexpr Rgb kPurple{128, 0, 128};  // H3
inline constexpr Rgb kGreen{0, 128, 0};     // measured points
// The colour of each function's curve, H1 first.
inline constexpr Rgb kCurveColours[3] = {kBlue, kRed, kPurple};

// The plot's default size: the main window's picture and the command line's.
inline constexpr int kDefaultPlotWidth = 1134;
inline constexpr int kDefaultPlotHeight = 678;

// The six parameters an expression may use.
enum class Parameter { K, T, A, B, W, Ksi };

inline constexpr int kMaxPoints = 500;

// Functions are numbered 1..3 on screen and in files; the arrays below are
// indexed 0..2 (H1 is index 0). CurveEnabled[3] is the product H1.H2.H3.
struct DiagramState {
  // Transfer functions.
  std::array<FunctionText, 3> NumText{};
  std::array<FunctionText, 3> DenText{};
  std::array<CoefficientSet, 3> NumCoeffs{};
  std::array<CoefficientSet, 3> DenCoeffs{};
  // The texts as last compiled: the redraw cuts a text again only when it
  // differs from the one compiled here (entry, load, "Nouveau", command line).
  std::array<CompiledText, 3> NumCompiled{};
  std::array<CompiledText, 3> DenCompiled{};
  // The box bytes of the transfer file, and the ticks the last drawing used.
  std::array<std::uint8_t, 4> CurveEnabled{};
  // Which curves are ticked: H1, H2, H3 and H1.H2.H3. The check boxes mirror
  // these; program code ticks through SetCurveTicked (core/selection.h).
  std::array<bool, 4> CurveTicked{};

  // Parameters.
  double ParamK = 0, ParamT = 0, ParamA = 0, ParamB = 0, ParamW = 0, ParamKsi = 0;
  // The parameter whose radio button is checked, usable or not; none at start.
  std::optional<Parameter> SelectedParameter;

  // View settings.
  std::uint8_t BlackView = 0;  // 0 Bode, 1 Black
  std::uint8_t BodeMode = 0;   // 0 gain only, 1 phase only, 2 both
  std::uint8_t ShowMargins = 0;
  std::int32_t DecadeMin = 0, DecadeMax = 0;
  std::int32_t GainMinDb = 0, GainMaxDb = 0;
  // The asymptotic diagram over the Bode curves (menu Analyse). Not in the
  // transfer file, whose layout is fixed.
  std::uint8_t ShowAsymptotes = 0;
  // The closed-loop contours over the Black chart (menu Analyse). Not in the
  // transfer file either.
  std::uint8_t ShowNicholsChart = 0;

  // Measured points.
  std::array<MeasuredPoint, kMaxPoints> MeasuredPoints{};
  std::int32_t PointCount = 0;
  std::uint8_t CapturePoints = 0;
  std::string PointsFileName;

  // Files and environment.
  std::string CurrentFileName;
  std::string TempDir;
  char MapleFileLetter = 0;

  // When set, every margin the diagrams find and write is also appended here,
  // in drawing order (Mesures and the command line read them). Not owned.
  std::vector<MarginRecord>* MarginRecords = nullptr;

  // The window (or its headless stand-in) that owns the check boxes, the
  // panel colour, the captions and the points editor's text. Not owned.
  DiagramHost* Host = nullptr;
};

// Functions, parameters and ranges back to their defaults; refreshes the
// parameter captions through the host. Leaves boxes, view and points.
void ResetDiagram(DiagramState& s);

// The values the main window's start-up gives before anything is drawn
// (everything of ResetDiagram plus view and letters). No host calls.
void SetStartValues(DiagramState& s);

}  // namespace tv
