// Faults the hostile-input runs caught, each pinned by the test named after it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/readouts.h"
#include "analysis/step_response.h"
#include "expression/coefficients.h"
#include "expression/evaluator.h"
#include "files/file_io.h"
#include "files/transfer_file.h"
#include "support/hostile_state.h"
#include "render/black.h"
#include "render/redraw.h"
#include "render/step_view.h"
#include "render/step_texts.h"

namespace tv::robustness {
namespace {

double MillisecondsOf(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// A transfer file with the decade range -2^31..2^31-1 made the Black view
// sweep 661 decades, most of them in subnormal arithmetic: 300 ms per redraw
// in an optimised build, half a second at 240 x 160 in the fuzzer. The sweep
// now stops at the decades where w^10 is still a normal double.
TEST(Regression, BlackSweepOfAFileDecadeRangeIsCutToSixtyOneDecades) {
  HostileState h;
  h.s.CurveTicked[3] = true;  // the product alone, labelled twice per decade
  h.s.DecadeMin = INT_MIN;
  h.s.DecadeMax = INT_MAX;
  RecordingSurface recorder;
  h.t.DrawCanvas = &recorder;
  DrawBlackDiagram(h.s, h.t, h.f);
  std::vector<std::string> labels;  // next to the product's point, 0 dB and 0 rad
  for (const RecordedOp& op : recorder.Texts())
    if (op.x == 1084 + 5 && op.y == 369) labels.push_back(op.text);
  ASSERT_EQ(labels.size(), 2u * 61);
  EXPECT_EQ(labels.front(), "0");        // 10^-30 in three decimals
  EXPECT_EQ(labels.back().size(), 31u);  // 5 x 10^30, 31 digits
}

TEST(Regression, BlackSweepOfADecadeRangeInsideTheCutIsWhole) {
  HostileState h;
  h.s.CurveTicked[3] = true;
  h.s.DecadeMin = -30;
  h.s.DecadeMax = -29;
  RecordingSurface recorder;
  h.t.DrawCanvas = &recorder;
  DrawBlackDiagram(h.s, h.t, h.f);
  int segments = 0;
  for (const RecordedOp& op : recorder.Lines())
    if (op.x == 1084 && op.y == 369 && op.w == 1084 && op.h == 369) ++segments;
  EXPECT_EQ(segments, 2 * 451);
}

// A text of 20 000 nested parentheses took 1.4 s to evaluate, 60 000 took
// 11 s: the rewriting is quadratic. No caller passes more than 80
// characters; longer than 255 is now refused before any work.
TEST(Regression, OverlongExpressionIsRefusedAtOnce) {
  const std::vector<std::string> texts = {
      std::string(100000, '(') + "1" + std::string(100000, ')'),
      std::string(100000, '+') + "1",
      std::string(100000, '\xFF'),
  };
  for (const std::string& text : texts) {
    CoefficientSet c;
    bool ok = true;
    const double ms = MillisecondsOf([&] { ok = ExtractCoefficients(text, ParameterValues{}, c); });
    EXPECT_FALSE(ok);
    EXPECT_LT(ms, 100.0) << text.substr(0, 20);
  }
  // The longest text still taken: 255 characters.
  const std::string longest = std::string(127, '(') + "5" + std::string(127, ')');
  ASSERT_EQ(longest.size(), 255u);
  EXPECT_TRUE(EvaluateExpression(longest, ParameterValues{}).Ok);
  EXPECT_FALSE(EvaluateExpression("(" + longest + ")", ParameterValues{}).Ok);
}

// '1+p^6' drew as the constant 2 (-6.02 dB) and '1+p^2.5' as
// 1/(1.5+0.5p^2), with no red panel: the rewriting reads only the powers
// written 'P^1' to 'P^5' and took what was left for another power or a
// constant. Such a text is now as invalid as one in decreasing powers.
TEST(Regression, PowerOfPTheCompilationCannotReadTurnsThePanelRed) {
  for (const char* text : {"1+p^6", "1+p^2.5"}) {
    HostileState h;
    h.s.DenText[0].Assign(text);
    h.s.CurveTicked[0] = true;
    EXPECT_FALSE(RedrawDiagram(h.s, h.t, h.f)) << text;
    EXPECT_TRUE(h.host.PanelInvalid) << text;
    EXPECT_EQ(h.host.BeepCount, 40) << text;
    EXPECT_EQ(h.surface.Calls, 0) << text;
  }
}

// Opening a named pipe for reading waited for a writer: loading a .WWC that
// is a pipe hung the window for good. It now reads as an empty file. Run in
// a child with an alarm, so that a hang ends the child only.
TEST(Regression, NamedPipeWithoutWriterLoadsAsEmptyAtOnce) {
  namespace fs = std::filesystem;
  std::string dir = (fs::temp_directory_path() / "tv-robust-fifo-XXXXXX").string();
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  const std::string fifo = dir + "/pipe.WWC";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EXIT(
      {
        ::alarm(5);
        const FileReadResult r = ReadFileBytes(fifo, kTransferFileSize);
        HostileState h;
        h.s.NumText[0].Assign("1+p");
        const bool refused = !ReadTransferFile(h.s, fifo);
        // Empty, so no transfer file: refused, the state as it was.
        const bool asEmpty =
            r.Opened && r.Complete && r.Bytes.empty() && refused && h.s.NumText[0] == "1+p";
        std::_Exit(asEmpty ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  std::error_code ec;
  fs::remove_all(dir, ec);
}

// A pipe with a writer still reads what is written.
TEST(Regression, NamedPipeWithAWriterIsRead) {
  namespace fs = std::filesystem;
  std::string dir = (fs::temp_directory_path() / "tv-robust-fifo-XXXXXX").string();
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  const std::string fifo = dir + "/points.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EXIT(
      {
        ::alarm(5);
        if (::fork() == 0) {
          // Read-write, so that the open does not wait and the bytes stay in
          // the pipe until the reader comes; closing then ends the reader's file.
          const int fd = ::open(fifo.c_str(), O_RDWR);
          if (fd < 0 || ::write(fd, "1 2 3\r\n", 7) != 7) std::_Exit(1);
          ::usleep(200000);
          ::close(fd);
          std::_Exit(0);
        }
        FileReadResult r;
        // The writer may not have written yet when the reader first looks.
        for (int attempt = 0; attempt < 200 && r.Bytes.empty(); ++attempt) {
          r = ReadFileBytes(fifo, 1000);
          if (r.Bytes.empty()) ::usleep(10000);
        }
        std::_Exit(r.Bytes == "1 2 3\r\n" ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  std::error_code ec;
  fs::remove_all(dir, ec);
}

// The time-response view's tick loops never ended on an infinite final
// value (a static gain 1/4.9e-324) or range, and the read-outs wrote "+Inf"
// and 300-digit numbers. Each system now gives its one overflow line, or
// read-outs in a bounded width; the view returns either way.
struct StepCase {
  const char* Name;
  const char* Num;
  const char* Den;
  double K;
  bool Overflows;
};

class StepOverflowTest : public testing::TestWithParam<StepCase> {};

TEST_P(StepOverflowTest, SaysTheOverflowOrABoundedValueAndReturns) {
  HostileState h(640, 420);
  h.s.NumText[0].Assign(GetParam().Num);
  h.s.DenText[0].Assign(GetParam().Den);
  h.s.ParamK = GetParam().K;
  h.s.CurveTicked[0] = true;
  const StepResponse r = ComputeStepResponseOfTexts(h.s, false, 0);
  EXPECT_EQ(r.Outcome == StepOutcome::Overflow, GetParam().Overflows);
  for (const std::string& line : StepReadoutTexts(r)) {
    EXPECT_LT(line.size(), 60u) << line;
    EXPECT_EQ(line.find("Inf"), std::string::npos) << line;
  }
  DrawStepView(h.t, r, "H1");
  EXPECT_GT(h.surface.Texts, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepOverflowTest,
    testing::Values(StepCase{"SubnormalStaticGain", "1", "K+p^5", 4.9e-324, true},
                    StepCase{"LargestGainAndTimeConstant", "K", "1+K*p", 1.7976931348623157e308,
                             false},
                    StepCase{"HundredDigitFinalValue", "1", "K+p^5", 1e-100, false}),
    [](const testing::TestParamInfo<StepCase>& tested) { return std::string(tested.param.Name); });

TEST(Regression, StepViewOfAnInfiniteFinalValueReturns) {
  HostileState h(640, 420);
  StepResponse r;
  r.Outcome = StepOutcome::Drawn;
  r.TMax = 1;
  r.T = {0, 1};
  r.Y = {0, 1};
  r.Slope = {1, 1};
  r.Readouts.FinalValue = std::numeric_limits<double>::infinity();
  DrawStepView(h.t, r, "H1");
  EXPECT_GT(h.surface.Texts, 0);
}

// Decades -2..308 from a transfer file made the read-outs' grid convert an
// infinity to int (undefined; the closed loop then read as none). The search
// now stops at the decades the Bode view draws.
TEST(Regression, ReadoutsOfTheWidestFileRangesAreThoseOfTheirDrawablePart) {
  HostileState h;
  h.s.NumText[0].Assign("1");
  h.s.DenText[0].Assign("1+0.6*p+p^2");
  ASSERT_TRUE(ExtractCoefficients(h.s.DenText[0].View(), h.s, h.s.DenCoeffs[0]));
  h.s.CurveTicked[0] = true;
  h.s.DecadeMin = -2;
  h.s.DecadeMax = 150;
  const std::optional<double> sane = DrawnCurveReadouts(h.s).front().ClosedLoop.PeakDb;
  ASSERT_TRUE(sane);
  for (const auto& [lo, hi] : {std::pair(-2, 308), std::pair(INT_MIN, INT_MAX)}) {
    h.s.DecadeMin = lo;
    h.s.DecadeMax = hi;
    const std::vector<CurveReadouts> all = DrawnCurveReadouts(h.s);
    ASSERT_FALSE(all.empty());
    ASSERT_TRUE(all.front().ClosedLoop.PeakDb) << lo << ".." << hi;
    EXPECT_NEAR(*all.front().ClosedLoop.PeakDb, *sane, 1e-9);
  }
}

}  // namespace
}  // namespace tv::robustness
