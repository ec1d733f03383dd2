// Whole redraws reduced to fingerprints, so that making them faster can never change a pixel.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/headless_host.h"
#include "support/recording_surface.h"
#include "render/redraw.h"
#include "support/three_functions.h"

namespace tv {
namespace {

// 64-bit FNV-1a.
class Fnv1a {
 public:
  void Bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) {
      hash_ ^= p[i];
      hash_ *= 0x100000001b3ULL;
    }
  }
  void Int(std::int64_t v) {
    // Little-endian whatever the host, so the constants travel.
    unsigned char b[8];
    const auto u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(u >> (8 * i));
    Bytes(b, 8);
  }
  void Real(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Int(static_cast<std::int64_t>(bits));
  }
  void Text(std::string_view t) {
    Int(static_cast<std::int64_t>(t.size()));
    Bytes(t.data(), t.size());
  }
  void Colour(Rgb c) {
    Int(c.R);
    Int(c.G);
    Int(c.B);
  }
  std::uint64_t Value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

struct Fingerprint {
  std::uint64_t Picture = 0;  // every op that puts pixels down, with the pen and colour in force
  int OpCount = 0;            // how many such ops
  std::uint64_t Outcome = 0;  // coefficients, derived fields, flags, host side effects
};

// Pen and colour changes count through the lines and texts they affect and
// through the pen left at the end: a change that is overwritten before
// anything is drawn with it changes no pixel.
void AddPicture(const RecordingSurface& surface, Fnv1a& h, int& count) {
  for (const RecordedOp& op : surface.Ops) {
    switch (op.kind) {
      case RecordedOp::Line:
        h.Int(op.kind);
        h.Int(op.x);
        h.Int(op.y);
        h.Int(op.w);
        h.Int(op.h);
        h.Colour(op.colour);
        h.Int(op.penWidth);
        h.Int(static_cast<int>(op.penStyle));
        break;
      case RecordedOp::Text:
        h.Int(op.kind);
        h.Int(op.x);
        h.Int(op.y);
        h.Colour(op.colour);
        h.Text(op.text);
        break;
      case RecordedOp::Fill:
        h.Int(op.kind);
        h.Int(op.x);
        h.Int(op.y);
        h.Int(op.w);
        h.Int(op.h);
        break;
      case RecordedOp::Font:
        h.Int(op.kind);
        h.Int(op.h);
        break;
      default: continue;
    }
    ++count;
  }
  h.Colour(surface.CurrentColour());
  h.Int(surface.CurrentWidth());
  h.Int(static_cast<int>(surface.CurrentStyle()));
  h.Int(surface.PenX());
  h.Int(surface.PenY());
}

void AddOutcome(const DiagramState& s, const HeadlessHost& host,
                const std::vector<std::string>& marginLog, Fnv1a& h) {
  for (int i = 0; i < 3; ++i) {
    for (double c : s.NumCoeffs[i]) h.Real(c);
    for (double c : s.DenCoeffs[i]) h.Real(c);
  }
  for (std::uint8_t e : s.CurveEnabled) h.Int(e);
  h.Int(s.MidY);
  h.Real(s.GainPixelsPerDb);
  h.Real(s.PhasePixelsPerRad);
  h.Int(s.Minus180Y);
  h.Int(s.ResponseValid);
  h.Int(s.PointCount);
  for (bool b : host.Boxes) h.Int(b ? 1 : 0);
  h.Int(host.PanelInvalid ? 1 : 0);
  h.Int(host.BeepCount);
  h.Int(static_cast<std::int64_t>(host.EditorLines.size()));
  for (const std::string& line : host.EditorLines) h.Text(line);
  h.Int(static_cast<std::int64_t>(marginLog.size()));
  for (const std::string& line : marginLog) h.Text(line);
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
  std::function<void(DiagramState&, HeadlessHost&)> Setup;
  std::uint64_t Picture;
  int OpCount;
  std::uint64_t Outcome;
};

// Recorded from the drawing code before any speed work. To regenerate after
// a change that is meant to alter the picture, run
//   TRACEVUE_PRINT_GOLDEN=1 ./tv_render_tests --gtest_filter='RedrawGolden*'
// and paste the printed rows over the numbers below.
const std::vector<GoldenCase>& Cases() {
  static const std::vector<GoldenCase> cases = {
      {"DefaultsFirstOrderH1",
       [](DiagramState& s, HeadlessHost& host) {
         s.DenText[0].Assign("1+p");
         host.Boxes[0] = true;
       },
       0x77a1ac8797e757f4ULL, 4276, 0x90583fa4a09afa3fULL},
      {"ThreeFunctionsMarginsGainAndPhase",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.ShowMargins = 1;
       },
       0x66e630d1792dd927ULL, 13900, 0x603aff4831d194a4ULL},
      {"ThreeFunctionsGainOnly",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.BodeMode = 0;
       },
       0x95e7157d9cea3e2bULL, 5198, 0xe712ed809a6e3cfaULL},
      {"ThreeFunctionsPhaseOnly",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.BodeMode = 1;
       },
       0xdc2bd0beaf84635bULL, 8768, 0xe712ed809a6e3cfaULL},
      {"BlackSixToFiveMargins",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.BlackView = 1;
         s.DecadeMin = -6;
         s.DecadeMax = 5;
         s.ShowMargins = 1;
       },
       0x9c445e7d9b561d9bULL, 26078, 0xef1534224ca1fa70ULL},
      {"BodeMeasuredPointsH1H3Product",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         host.Boxes[1] = false;
         SomePoints(s);
       },
       0xe47c61397d9238fbULL, 10762, 0x5b3856c33c0278adULL},
      {"BlackMeasuredPoints",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.BlackView = 1;
         SomePoints(s);
       },
       0x5e482a48228e726bULL, 7640, 0x55853464a89b7f95ULL},
      {"BodeCapture",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         host.Boxes[3] = false;  // the capture ticks it
         s.CapturePoints = 1;
         SomePoints(s);
       },
       0xf97bf4d20428510bULL, 13964, 0x9b8c524128f58dd2ULL},
      {"BlackCapture",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         host.Boxes[3] = false;
         s.BlackView = 1;
         s.CapturePoints = 1;
       },
       0xc9e397bc43e3b003ULL, 7470, 0x708f9c0c47216441ULL},
      {"PrintGeometryForcedBlack",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.ShowMargins = 1;
         s.ForceBlack = 1;
         s.OriginX = 165;
         s.OriginY = 331;
         s.CurvePenWidth = 4;
         s.FramePenWidth = 3;
       },
       0x941ecf10c1b12ccfULL, 13900, 0x603aff4831d194a4ULL},
      {"BodeZeroNumeratorStops",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.NumText[1].Assign("0*K");
       },
       0x051413df93b6800bULL, 286, 0x5807850f88f72884ULL},
      {"BlackZeroNumeratorStops",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.NumText[1].Assign("0*K");
         s.BlackView = 1;
         s.ShowMargins = 1;
       },
       0xed5328029a7894ffULL, 3962, 0xd37e647440bcd0c0ULL},
      {"InvalidTickedFunction",
       [](DiagramState& s, HeadlessHost& host) {
         ThreeFunctions(s, host);
         s.DenText[1].Assign("p^2+p");
       },
       0x856870f054e6a504ULL, 0, 0xebf22095884c06acULL},
  };
  return cases;
}

// Everything one case draws with and into.
struct Rig {
  DiagramState s;
  HeadlessHost host;
  RecordingSurface surface;
  std::vector<std::string> marginLog;

  explicit Rig(const GoldenCase& c) {
    scenes::OnSurface(s, host, surface);
    s.MarginLog = &marginLog;
    c.Setup(s, host);
  }
};

// Two redraws in a row on one surface: the second starts with the pen the
// first left, as every redraw after a spin step does.
Fingerprint TakeFingerprint(const GoldenCase& c) {
  Rig rig(c);
  RedrawDiagram(rig.s);
  RedrawDiagram(rig.s);

  Fingerprint f;
  Fnv1a picture;
  AddPicture(rig.surface, picture, f.OpCount);
  f.Picture = picture.Value();
  Fnv1a outcome;
  AddOutcome(rig.s, rig.host, rig.marginLog, outcome);
  f.Outcome = outcome.Value();
  return f;
}

bool PrintRequested() {
  const char* v = std::getenv("TRACEVUE_PRINT_GOLDEN");
  return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
}

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.Name; }

class RedrawGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(RedrawGolden, MatchesRecordedFingerprint) {
  const GoldenCase& c = GetParam();
  const Fingerprint f = TakeFingerprint(c);
  if (PrintRequested()) {
    std::printf("       0x%016llxULL, %d, 0x%016llxULL},  // %s\n",
                static_cast<unsigned long long>(f.Picture), f.OpCount,
                static_cast<unsigned long long>(f.Outcome), c.Name);
  }
  EXPECT_EQ(f.Picture, c.Picture) << c.Name;
  EXPECT_EQ(f.OpCount, c.OpCount) << c.Name;
  EXPECT_EQ(f.Outcome, c.Outcome) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(States, RedrawGolden, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<GoldenCase>& tested) {
                           return std::string(tested.param.Name);
                         });

// The states above must reach the paths they are there for; a fingerprint of
// a picture that lost its margins or its capture would guard nothing.
TEST(RedrawGoldenCoverage, CasesReachMarginsCaptureAndStops) {
  auto find = [](std::string_view name) -> const GoldenCase& {
    for (const GoldenCase& c : Cases())
      if (name == c.Name) return c;
    ADD_FAILURE() << name;
    return Cases().front();
  };
  {
    Rig rig(find("ThreeFunctionsMarginsGainAndPhase"));
    ASSERT_TRUE(RedrawDiagram(rig.s));
    EXPECT_EQ(rig.s.ResponseValid, 1);
    bool mp = false, mg = false, global = false;
    for (const std::string& t : rig.marginLog) {
      mp = mp || t.rfind("MP", 0) == 0;
      mg = mg || t.rfind("MG", 0) == 0;
      global = global || t.find("globale") != std::string::npos;
    }
    EXPECT_TRUE(mp && mg && global);
  }
  {
    Rig rig(find("BlackSixToFiveMargins"));
    ASSERT_TRUE(RedrawDiagram(rig.s));
    EXPECT_EQ(rig.s.ResponseValid, 1);
    EXPECT_FALSE(rig.marginLog.empty());
  }
  {
    Rig rig(find("BodeCapture"));
    ASSERT_TRUE(RedrawDiagram(rig.s));
    EXPECT_EQ(rig.host.EditorLines.size(), 108u);  // columns 0, 10, ..., 1070
    EXPECT_TRUE(rig.host.Boxes[3]);
  }
  {
    Rig rig(find("BlackCapture"));
    ASSERT_TRUE(RedrawDiagram(rig.s));
    EXPECT_EQ(rig.host.EditorLines.size(), 5u * 91u);  // decades -1..3
  }
  for (const char* name : {"BodeZeroNumeratorStops", "BlackZeroNumeratorStops"}) {
    Rig rig(find(name));
    ASSERT_TRUE(RedrawDiagram(rig.s)) << name;
    EXPECT_EQ(rig.s.ResponseValid, 0) << name;
    EXPECT_EQ(rig.host.BeepCount, 20) << name;
  }
  {
    Rig rig(find("InvalidTickedFunction"));
    EXPECT_FALSE(RedrawDiagram(rig.s));
    EXPECT_TRUE(rig.host.PanelInvalid);
    EXPECT_TRUE(rig.surface.Ops.empty());
  }
}

}  // namespace
}  // namespace tv
