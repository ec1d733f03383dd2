// Whole redraws against their recorded drawing calls, so that making them faster can never change
// a pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/headless_host.h"
#include "render/margin_record.h"
#include "render/redraw.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

// The recorded drawing of a case: one line per call that puts pixels down,
// each pen and colour written where it first takes effect, then the pen left
// at the end and the outcome (coefficients, derived fields, flags, host side
// effects). A pen or colour change that is overwritten before anything is
// drawn with it changes no pixel, so it is not written.
class CallWriter {
 public:
  void Picture(const RecordingSurface& surface) {
    for (const RecordedOp& op : surface.Ops) {
      switch (op.kind) {
        case RecordedOp::Line:
          InForce(op.colour);
          if (!pen_ || pen_->first != op.penWidth || pen_->second != op.penStyle) {
            pen_ = {op.penWidth, op.penStyle};
            Add("P " + std::to_string(op.penWidth) + " " + StyleName(op.penStyle));
          }
          Add("L " + Ints({op.x, op.y, op.w, op.h}));
          break;
        case RecordedOp::Text:
          InForce(op.colour);
          Add("T " + Ints({op.x, op.y}) + " " + Escaped(op.text));
          break;
        case RecordedOp::Fill: Add("F " + Ints({op.x, op.y, op.w, op.h})); break;
        case RecordedOp::Font: Add("S " + std::to_string(op.h)); break;
        default: break;
      }
    }
    Add("end colour " + Hex(surface.CurrentColour()) + " pen " +
        std::to_string(surface.CurrentWidth()) + " " + StyleName(surface.CurrentStyle()) + " at " +
        Ints({surface.PenX(), surface.PenY()}));
  }

  void Outcome(const DiagramState& s, const FrameResult& f, const HeadlessHost& host,
               const std::vector<MarginRecord>& margins) {
    for (int i = 0; i < 3; ++i) {
      Add("num" + std::to_string(i + 1) + " " + Reals(s.NumCoeffs[i]));
      Add("den" + std::to_string(i + 1) + " " + Reals(s.DenCoeffs[i]));
    }
    Add("enabled " + Ints({s.CurveEnabled[0], s.CurveEnabled[1], s.CurveEnabled[2]}));
    Add("mid " + std::to_string(f.MidY) + " -180 at " + std::to_string(f.Minus180Y));
    Add("scales " + Reals(std::array{f.GainPixelsPerDb, f.PhasePixelsPerRad}));
    Add("valid " + std::to_string(f.ResponseValid) + " points " + std::to_string(s.PointCount));
    Add("boxes " + Ints({s.CurveTicked[0], s.CurveTicked[1], s.CurveTicked[2], s.CurveTicked[3]}) +
        " panel " + (host.PanelInvalid ? "invalid" : "normal") + " beeps " +
        std::to_string(host.BeepCount));
    for (const std::string& line : host.EditorLines) Add("editor " + Escaped(line));
    for (const MarginRecord& m : margins) Add("margin " + Escaped(MarginText(m)));
  }

  std::vector<std::string> Lines;

 private:
  void Add(std::string line) { Lines.push_back(std::move(line)); }

  void InForce(Rgb c) {
    if (colour_ && *colour_ == c) return;
    colour_ = c;
    Add("C " + Hex(c));
  }

  static std::string Ints(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += (out.empty() ? "" : " ") + std::to_string(v);
    return out;
  }
  template <typename Reals_>
  static std::string Reals(const Reals_& values) {
    std::string out;
    for (double v : values) {
      char b[40];
      std::snprintf(b, sizeof b, "%a", v);  // every bit, in a form that reads
      out += (out.empty() ? "" : " ") + std::string(b);
    }
    return out;
  }
  static std::string Hex(Rgb c) {
    char b[8];
    std::snprintf(b, sizeof b, "%02x%02x%02x", c.R, c.G, c.B);
    return b;
  }
  static const char* StyleName(PenStyle style) {
    return style == PenStyle::Solid ? "solid" : style == PenStyle::Dotted ? "dotted" : "other";
  }
  // Windows-1252 bytes and controls as \xNN, so that the file is plain ASCII.
  static std::string Escaped(std::string_view text) {
    std::string out;
    for (unsigned char ch : text) {
      if (ch >= 0x20 && ch < 0x7f && ch != '\\') {
        out += static_cast<char>(ch);
      } else {
        char b[5];
        std::snprintf(b, sizeof b, "\\x%02x", ch);
        out += b;
      }
    }
    return out;
  }

  std::optional<Rgb> colour_;
  std::optional<std::pair<int, PenStyle>> pen_;
};

// Index of the first line where the two differ (one list ending early
// counts), or none when they are equal.
std::optional<std::size_t> FirstDifference(const std::vector<std::string>& recorded,
                                           const std::vector<std::string>& drawn) {
  const std::size_t n = std::min(recorded.size(), drawn.size());
  for (std::size_t i = 0; i < n; ++i)
    if (recorded[i] != drawn[i]) return i;
  if (recorded.size() != drawn.size()) return n;
  return std::nullopt;
}

// What a failing case prints: where the drawing first departs from the
// recorded one, the two calls there, and the call before them.
std::string DescribeDifference(const std::string& file, const std::vector<std::string>& recorded,
                               const std::vector<std::string>& drawn, std::size_t i) {
  auto at = [](const std::vector<std::string>& v, std::size_t k) {
    return k < v.size() ? "\"" + v[k] + "\"" : std::string("(nothing: it ends here)");
  };
  std::string out = "first difference at line " + std::to_string(i + 1) + " of " + file + "\n";
  out += "  recorded: " + at(recorded, i) + "\n";
  out += "  drawn:    " + at(drawn, i) + "\n";
  if (i > 0) out += "  after the common line " + at(recorded, i - 1) + "\n";
  out += "  (" + std::to_string(recorded.size()) + " lines recorded, " +
         std::to_string(drawn.size()) + " drawn)";
  return out;
}

using scenes::ThreeFunctions;

void SomePoints(DiagramState& s) {
  s.PointCount = 25;
  for (int i = 0; i < s.PointCount; ++i) {
    MeasuredPoint& p = s.MeasuredPoints[static_cast<std::size_t>(i)];
    p.PulsationRadS = i == 7 ? 0.0 : 0.05 * (i + 1) * (i + 1);  // one record at w = 0 is skipped
    p.GainDb = 20.0 - 3.5 * i;
    p.PhaseDeg = -7.5 * i;
  }
}

struct GoldenCase {
  const char* Name;
  std::function<void(DiagramState&, DrawTarget&, HeadlessHost&)> Setup;
};

// Each case's drawing is recorded in tests/render/golden/<Name>.calls. To
// record them again after a change that is meant to alter the picture, run
//   TRACEVUE_RECORD_GOLDEN=1 ./tv_render_tests --gtest_filter='States/RedrawGolden*'
// and read the difference of the files before committing it.
const std::vector<GoldenCase>& Cases() {
  static const std::vector<GoldenCase> cases = {
      {"DefaultsFirstOrderH1",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         s.DenText[0].Assign("1+p");
         s.CurveTicked[0] = true;
       }},
      {"ThreeFunctionsMarginsGainAndPhase",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.ShowMargins = 1;
       }},
      {"ThreeFunctionsGainOnly",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.BodeMode = 0;
       }},
      {"ThreeFunctionsPhaseOnly",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.BodeMode = 1;
       }},
      {"BlackSixToFiveMargins",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.BlackView = 1;
         s.DecadeMin = -6;
         s.DecadeMax = 5;
         s.ShowMargins = 1;
       }},
      {"BodeMeasuredPointsH1H3Product",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.CurveTicked[1] = false;
         SomePoints(s);
       }},
      {"BlackMeasuredPoints",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.BlackView = 1;
         SomePoints(s);
       }},
      {"BodeCapture",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.CurveTicked[3] = false;  // the capture ticks it
         s.CapturePoints = 1;
         SomePoints(s);
       }},
      {"BlackCapture",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.CurveTicked[3] = false;
         s.BlackView = 1;
         s.CapturePoints = 1;
       }},
      {"PrintGeometryForcedBlack",
       [](DiagramState& s, DrawTarget& t, HeadlessHost&) {
         ThreeFunctions(s);
         s.ShowMargins = 1;
         t.ForceBlack = 1;
         t.OriginX = 165;
         t.OriginY = 331;
         t.CurvePenWidth = 4;
         t.FramePenWidth = 3;
       }},
      {"BodeZeroNumeratorStops",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.NumText[1].Assign("0*K");
       }},
      {"BlackZeroNumeratorStops",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.NumText[1].Assign("0*K");
         s.BlackView = 1;
         s.ShowMargins = 1;
       }},
      {"InvalidTickedFunction",
       [](DiagramState& s, DrawTarget&, HeadlessHost&) {
         ThreeFunctions(s);
         s.DenText[1].Assign("p^2+p");
       }},
  };
  return cases;
}

// Everything one case draws with and into.
struct Rig {
  DiagramState s;
  HeadlessHost host;
  RecordingSurface surface;
  DrawTarget target;
  FrameResult frame;
  std::vector<MarginRecord> margins;

  explicit Rig(const GoldenCase& c) {
    target = scenes::OnSurface(s, host, surface);
    s.MarginRecords = &margins;
    c.Setup(s, target, host);
  }
  bool Redraw() { return RedrawDiagram(s, target, frame); }
};

// Two redraws in a row on one surface: the second starts with the pen the
// first left, as every redraw after a spin step does.
std::vector<std::string> DrawnCalls(const GoldenCase& c) {
  Rig rig(c);
  rig.Redraw();
  rig.Redraw();
  CallWriter w;
  w.Picture(rig.surface);
  w.Outcome(rig.s, rig.frame, rig.host, rig.margins);
  return w.Lines;
}

std::string GoldenFile(const GoldenCase& c) {
  return std::string(TRACEVUE_GOLDEN_DIR) + "/" + c.Name + ".calls";
}

bool RecordRequested() {
  const char* v = std::getenv("TRACEVUE_RECORD_GOLDEN");
  return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
}

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.Name; }

class RedrawGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(RedrawGolden, MatchesRecordedCalls) {
  const GoldenCase& c = GetParam();
  const std::vector<std::string> drawn = DrawnCalls(c);
  const std::string file = GoldenFile(c);
  if (RecordRequested()) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : drawn) out << line << '\n';
    ASSERT_TRUE(out.flush()) << "cannot write " << file;
  }
  std::ifstream in(file, std::ios::binary);
  ASSERT_TRUE(in) << "no recorded drawing: " << file;
  std::vector<std::string> recorded;
  for (std::string line; std::getline(in, line);) recorded.push_back(line);
  const std::optional<std::size_t> i = FirstDifference(recorded, drawn);
  EXPECT_FALSE(i.has_value()) << c.Name << ": "
                              << DescribeDifference(file, recorded, drawn, i.value_or(0));
}

INSTANTIATE_TEST_SUITE_P(States, RedrawGolden, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<GoldenCase>& tested) {
                           return std::string(tested.param.Name);
                         });

// The states above must reach the paths they are there for; a fingerprint of
// a picture that lost its margins or its capture would guard nothing.
// A failing case must name the first call that departs, not a later one.
struct DifferenceCase {
  const char* Name;
  std::vector<std::string> Recorded, Drawn;
  std::optional<std::size_t> Expected;
};

class FirstDifferenceTest : public testing::TestWithParam<DifferenceCase> {};

TEST_P(FirstDifferenceTest, FindsTheFirstDepartingLine) {
  EXPECT_EQ(FirstDifference(GetParam().Recorded, GetParam().Drawn), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FirstDifferenceTest,
    testing::Values(
        DifferenceCase{"Equal", {"L 1 2 3 4", "T 5 6 x"}, {"L 1 2 3 4", "T 5 6 x"}, std::nullopt},
        DifferenceCase{"ChangedCall", {"a", "b", "c", "d"}, {"a", "b", "X", "Y"}, 2},
        DifferenceCase{"ExtraCallAtTheEnd", {"a", "b"}, {"a", "b", "c"}, 2},
        DifferenceCase{"MissingCallAtTheEnd", {"a", "b", "c"}, {"a", "b"}, 2},
        DifferenceCase{"NothingDrawn", {"a"}, {}, 0}),
    [](const testing::TestParamInfo<DifferenceCase>& tested) {
      return std::string(tested.param.Name);
    });

TEST(RedrawGoldenReport, NamesTheLineAndBothCalls) {
  const std::string text = DescribeDifference("X.calls", {"C 000000", "L 30 212 31 213", "S 10"},
                                              {"C 000000", "L 30 212 31 214"}, 1);
  EXPECT_NE(text.find("line 2 of X.calls"), std::string::npos) << text;
  EXPECT_NE(text.find("recorded: \"L 30 212 31 213\""), std::string::npos) << text;
  EXPECT_NE(text.find("drawn:    \"L 30 212 31 214\""), std::string::npos) << text;
  EXPECT_NE(text.find("after the common line \"C 000000\""), std::string::npos) << text;
}

TEST(RedrawGoldenCoverage, CasesReachMarginsCaptureAndStops) {
  auto find = [](std::string_view name) -> const GoldenCase& {
    for (const GoldenCase& c : Cases())
      if (name == c.Name) return c;
    ADD_FAILURE() << name;
    return Cases().front();
  };
  {
    Rig rig(find("ThreeFunctionsMarginsGainAndPhase"));
    ASSERT_TRUE(rig.Redraw());
    EXPECT_EQ(rig.frame.ResponseValid, 1);
    bool mp = false, mg = false, global = false;
    for (const MarginRecord& m : rig.margins) {
      mp = mp || m.Kind == MarginKind::Phase;
      mg = mg || m.Kind == MarginKind::Gain;
      global = global || m.Slot == 4;
    }
    EXPECT_TRUE(mp && mg && global);
  }
  {
    Rig rig(find("BlackSixToFiveMargins"));
    ASSERT_TRUE(rig.Redraw());
    EXPECT_EQ(rig.frame.ResponseValid, 1);
    EXPECT_FALSE(rig.margins.empty());
  }
  {
    Rig rig(find("BodeCapture"));
    ASSERT_TRUE(rig.Redraw());
    EXPECT_EQ(rig.host.EditorLines.size(), 108u);  // columns 0, 10, ..., 1070
    EXPECT_TRUE(rig.s.CurveTicked[3]);
  }
  {
    Rig rig(find("BlackCapture"));
    ASSERT_TRUE(rig.Redraw());
    EXPECT_EQ(rig.host.EditorLines.size(), 5u * 91u);  // decades -1..3
  }
  for (const char* name : {"BodeZeroNumeratorStops", "BlackZeroNumeratorStops"}) {
    Rig rig(find(name));
    ASSERT_TRUE(rig.Redraw()) << name;
    EXPECT_EQ(rig.frame.ResponseValid, 0) << name;
    EXPECT_EQ(rig.host.BeepCount, 20) << name;
  }
  {
    Rig rig(find("InvalidTickedFunction"));
    EXPECT_FALSE(rig.Redraw());
    EXPECT_TRUE(rig.host.PanelInvalid);
    EXPECT_TRUE(rig.surface.Ops.empty());
  }
}

}  // namespace
}  // namespace tv
