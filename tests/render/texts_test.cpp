// The read-outs, notes and verdicts in the words the pictures and windows write them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/asymptote_readouts.h"
#include "core/headless_host.h"
#include "core/parameters.h"
#include "render/asymptote_texts.h"
#include "render/locus_texts.h"
#include "render/nyquist_texts.h"
#include "render/step_texts.h"

namespace tv {
namespace {

struct Function {
  CoefficientSet Num, Den;
};

StepResponse Response(const std::vector<Function>& functions, bool closed, double tMax = 0) {
  std::array<CoefficientSet, 3> num{}, den{};
  std::vector<int> factors;
  for (std::size_t i = 0; i < functions.size(); ++i) {
    num[i] = functions[i].Num;
    den[i] = functions[i].Den;
    factors.push_back(static_cast<int>(i));
  }
  return ComputeStepResponse(RealiseStepSystem(num, den, factors, closed), tMax);
}

struct StepLineCase {
  const char* Name;
  std::vector<Function> Functions;
  bool Closed;
  double TMax;
  std::size_t Index;
  const char* Line;
};

void PrintTo(const StepLineCase& c, std::ostream* os) { *os << c.Name; }

class StepLineTest : public testing::TestWithParam<StepLineCase> {};

TEST_P(StepLineTest, SaysTheReadOut) {
  const StepLineCase& c = GetParam();
  const std::vector<std::string> lines = StepReadoutTexts(Response(c.Functions, c.Closed, c.TMax));
  ASSERT_LT(c.Index, lines.size());
  EXPECT_EQ(lines[c.Index], c.Line);
}

// 1/(1 + 2 Ksi p/wn + p^2/wn^2) with Ksi = 0.3, wn = 2; 4/(p(1 + p/2))
// closed, whose peak is at 1.187 s; 1/(1e8 + p) closed; 8/(1+p)^3 closed,
// poles on the imaginary axis.
const Function kSecondOrder{{1}, {1, 0.3, 0.25}};
INSTANTIATE_TEST_SUITE_P(
    StepTexts, StepLineTest,
    testing::Values(
        StepLineCase{"FinalValue", {kSecondOrder}, false, 0, 0, "Valeur finale : 1"},
        StepLineCase{
            "Overshoot", {kSecondOrder}, false, 0, 1, "D\xE9passement D% : 37.233 % en t= 1.647 s"},
        StepLineCase{"RiseIsTheLast",
                     {kSecondOrder},
                     false,
                     0,
                     3,
                     "Temps de mont\xE9"
                     "e 10-90 % : 0.661 s"},
        StepLineCase{"PeakBeyondTheSpan",
                     {{{4}, {0, 1, 0.5}}},
                     true,
                     1,
                     1,
                     "D\xE9passement D% : pic au-del\xE0 de 1 s"},
        StepLineCase{"SmallFinalValue", {{{1}, {1e8, 1}}}, true, 0, 0, "Valeur finale : 1e-8"},
        StepLineCase{"SmallSettlingTime",
                     {{{1}, {1e8, 1}}},
                     true,
                     0,
                     2,
                     "Temps de r\xE9ponse \xE0 5 % : 2.996e-8 s"},
        StepLineCase{"StabilityLimit",
                     {{{8}, {1, 3, 3, 1}}},
                     true,
                     0,
                     0,
                     "Valeur finale : limite de stabilit\xE9"}),
    [](const testing::TestParamInfo<StepLineCase>& tested) { return tested.param.Name; });

TEST(StepTexts, EveryOutcomeButADrawingIsSaid) {
  for (StepOutcome o : {StepOutcome::NoFunction, StepOutcome::Invalid, StepOutcome::ZeroDenominator,
                        StepOutcome::Improper, StepOutcome::LoopUndefined, StepOutcome::Overflow})
    EXPECT_FALSE(StepOutcomeText(o).empty()) << static_cast<int>(o);
  EXPECT_TRUE(StepOutcomeText(StepOutcome::Drawn).empty());
}

TEST(NyquistTexts, PictureTextIsWindows1252) {
  EXPECT_EQ(PictureText("critère −1 à"), "crit\xE8re -1 \xE0");
}

TEST(AsymptoteTexts, WindowLinesPerCurve) {
  HeadlessHost host;
  DiagramState s;
  s.CurveTicked[0] = s.CurveTicked[3] = true;
  s.Host = &host;
  s.NumCoeffs[0] = {1, -0.5};
  s.DenCoeffs[0] = {1, 0.04, 0.01};
  const std::vector<CurveBreaks> all = DrawnCurveBreaks(s);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(BreaksWindowLines(all[0].Which, all[0].Asymptotes),
            (std::vector<std::string>{
                "H1 : pente initiale 0 dB/d\xE9"
                "cade (classe 0)",
                "  w = 2 rad/s : z\xE9ro d'ordre 1 (partie r\xE9"
                "elle positive)",
                "  w = 10 rad/s : p\xF4le d'ordre 2, Ksi = 0.2, r\xE9sonance 8.136 dB"}));
}

struct Loop {
  const char* Num;
  const char* Den;
  std::vector<std::pair<Parameter, double>> Values;
};

struct Scene {
  HeadlessHost Host;
  DiagramState S;
  explicit Scene(const Loop& loop) {
    SetStartValues(S);
    S.Host = &Host;
    S.NumText[0].Assign(loop.Num);
    S.DenText[0].Assign(loop.Den);
    S.CurveTicked[0] = S.CurveTicked[3] = true;
    for (const auto& [p, v] : loop.Values) ParameterValue(S, p) = v;
  }
};

// At K = 1: (p+1)^3 + 1 = 0, p = -2 and -1/2 ± j sqrt(3)/2 (Ksi 0.5, wn 1), 4 times nearer.
TEST(LocusTexts, CurrentPolesWithDampingAndDominance) {
  Scene scene({"K", "1+3*p+3*p^2+p^3", {{Parameter::K, 8}}});
  const CharacteristicFamily family(scene.S, Parameter::K);
  const std::vector<std::string> lines = LocusPoleLines(ComputeLocusPoles(family, 1), Parameter::K);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "  -0.5 \xB1 j0.866   Ksi = 0.5, wn = 1 rad/s");
}

struct DegenerateCase {
  const char* Name;
  Loop System;
  bool Ticked;
  LocusOutcome Outcome;
  const char* Said;  // the outcome line, or a line of the range's read-outs
};

void PrintTo(const DegenerateCase& c, std::ostream* os) { *os << c.Name; }

class LocusDegenerateTest : public testing::TestWithParam<DegenerateCase> {};

TEST_P(LocusDegenerateTest, SaidInWords) {
  const DegenerateCase& c = GetParam();
  Scene scene(c.System);
  scene.S.CurveTicked[0] = c.Ticked;
  const Locus l = ComputeLocus(CharacteristicFamily(scene.S, Parameter::K), 0, 10);
  EXPECT_EQ(l.Outcome, c.Outcome);
  std::vector<std::string> said = LocusRangeLines(l);
  said.push_back(LocusOutcomeText(l));
  EXPECT_NE(std::find(said.begin(), said.end(), std::string(c.Said)), said.end())
      << testing::PrintToString(said);
}

INSTANTIATE_TEST_SUITE_P(
    Locus, LocusDegenerateTest,
    testing::Values(DegenerateCase{"NoFunction",
                                   {"K", "1+p", {}},
                                   false,
                                   LocusOutcome::NoFunction,
                                   "Aucune fonction coch\xE9"
                                   "e : rien \xE0 tracer"},
                    DegenerateCase{"Invalid",
                                   {"K", "p^2+1+", {}},
                                   true,
                                   LocusOutcome::Invalid,
                                   "Une fonction coch\xE9"
                                   "e est invalide : rien n'est trac\xE9"},
                    DegenerateCase{"Unused",
                                   {"T", "1+p", {}},
                                   true,
                                   LocusOutcome::Unused,
                                   "K n'appara\xEEt dans aucune fonction coch\xE9"
                                   "e"},
                    DegenerateCase{"Vanishes",
                                   {"-K", "K", {}},
                                   true,
                                   LocusOutcome::Vanishes,
                                   "1+H est identiquement nul de K = 0 \xE0 10 : la boucle ferm\xE9"
                                   "e n'est pas d\xE9"
                                   "finie"},
                    // (1 - K/4) p + 1: the root leaves for infinity at K = 4 and comes back
                    // from the right.
                    DegenerateCase{
                        "DegreeDrops",
                        {"-K*p/4", "1+p", {}},
                        true,
                        LocusOutcome::Drawn,
                        "Le degr\xE9 de 1+H baisse pour K = 4 : une branche part \xE0 l'infini"}),
    [](const testing::TestParamInfo<DegenerateCase>& tested) { return tested.param.Name; });

}  // namespace
}  // namespace tv
