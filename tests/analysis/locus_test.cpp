// The closed-loop locus against values known by hand: critical gains, a time constant's limit,
// two stable intervals, a damping's circle, and the degenerate cases in words.
#include "analysis/locus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/curves.h"
#include "core/headless_host.h"
#include "expression/coefficients.h"

namespace tv {
namespace {

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

struct Bound {
  double Low, High;
};

struct CriticalCase {
  const char* Name;
  Loop System;
  Parameter Param;
  double From, To;
  std::vector<Bound> Stable;
  std::vector<LocusCrossing> Crossings;  // in increasing value
};

void PrintTo(const CriticalCase& c, std::ostream* os) { *os << c.Name; }

class LocusCriticalTest : public testing::TestWithParam<CriticalCase> {};

// Bounds to 1e-9 relative (refined to 1e-10), and the stability said by the
// intervals is the sign of the roots at points inside and between them.
TEST_P(LocusCriticalTest, BoundsAndCrossingsAreTheExactOnes) {
  const CriticalCase& c = GetParam();
  Scene scene(c.System);
  const CharacteristicFamily family(scene.S, c.Param);
  const Locus l = ComputeLocus(family, c.From, c.To);
  ASSERT_EQ(l.Outcome, LocusOutcome::Drawn);
  ASSERT_EQ(l.Stable.size(), c.Stable.size());
  for (std::size_t i = 0; i < c.Stable.size(); ++i) {
    EXPECT_NEAR(l.Stable[i].Low, c.Stable[i].Low, 1e-9 * std::max(1.0, c.Stable[i].Low)) << i;
    EXPECT_NEAR(l.Stable[i].High, c.Stable[i].High, 1e-9 * std::max(1.0, c.Stable[i].High)) << i;
    for (double u : {0.01, 0.5, 0.99})
      EXPECT_TRUE(StableAt(family, l.Stable[i].Low + u * (l.Stable[i].High - l.Stable[i].Low)));
    if (i > 0) {
      EXPECT_FALSE(StableAt(family, 0.5 * (l.Stable[i - 1].High + l.Stable[i].Low)));
    }
  }
  if (!l.Stable.empty() && l.Stable.back().High < c.To) {
    EXPECT_FALSE(StableAt(family, 0.5 * (l.Stable.back().High + c.To)));
  }
  ASSERT_EQ(l.Crossings.size(), c.Crossings.size());
  for (std::size_t i = 0; i < c.Crossings.size(); ++i) {
    EXPECT_NEAR(l.Crossings[i].Value, c.Crossings[i].Value, 1e-9 * c.Crossings[i].Value);
    EXPECT_NEAR(l.Crossings[i].Omega, c.Crossings[i].Omega, 1e-6);
  }
  // Branches are continuous: no root in view jumps by more than a tenth of
  // it between two samples.
  const double view = std::max(l.Box.ReMax - l.Box.ReMin, l.Box.ImMax - l.Box.ImMin);
  const auto inside = [&](std::complex<double> z) {
    return z.real() >= l.Box.ReMin && z.real() <= l.Box.ReMax && z.imag() >= l.Box.ImMin &&
           z.imag() <= l.Box.ImMax;
  };
  for (std::size_t k = 1; k < l.Samples.size(); ++k)
    for (std::size_t i = 0; i < l.Samples[k].Roots.size(); ++i) {
      if (l.Samples[k].Roots.size() != l.Samples[k - 1].Roots.size()) break;
      const auto a = l.Samples[k - 1].Roots[i], b = l.Samples[k].Roots[i];
      if (inside(a) && inside(b)) {
        ASSERT_LT(std::abs(a - b), view / 10) << l.Samples[k].Value;
      }
    }
}

const char kLagIntegrator[] = "p+(1+T)*p^2+T*p^3";  // p(1+p)(1+Tp)

INSTANTIATE_TEST_SUITE_P(
    Locus, LocusCriticalTest,
    testing::Values(
        // (1+p)^3 + K: a pair crosses at K = 8, at w = sqrt(3).
        CriticalCase{"ThirdOrderLag",
                     {"K", "1+3*p+3*p^2+p^3", {{Parameter::K, 4}}},
                     Parameter::K,
                     0,
                     400,
                     {{0, 8}},
                     {{8, std::sqrt(3.0)}}},
        // T p^3 + (1+T) p^2 + p + K: stable for K < (1+T)/T, crossing at w = 1/sqrt(T).
        CriticalCase{"IntegratorT1",
                     {"K", kLagIntegrator, {{Parameter::K, 1}, {Parameter::T, 1}}},
                     Parameter::K,
                     0,
                     100,
                     {{0, 2}},
                     {{2, 1}}},
        CriticalCase{"IntegratorTHalf",
                     {"K", kLagIntegrator, {{Parameter::K, 1}, {Parameter::T, 0.5}}},
                     Parameter::K,
                     0,
                     100,
                     {{0, 3}},
                     {{3, std::sqrt(2.0)}}},
        CriticalCase{"IntegratorTTenth",
                     {"K", kLagIntegrator, {{Parameter::K, 1}, {Parameter::T, 0.1}}},
                     Parameter::K,
                     0,
                     100,
                     {{0, 11}},
                     {{11, std::sqrt(10.0)}}},
        // Over T for K = 3: stable while T < 1/(K-1) = 0.5, crossing at w = sqrt(2).
        CriticalCase{"IntegratorOverT",
                     {"K", kLagIntegrator, {{Parameter::K, 3}, {Parameter::T, 0.2}}},
                     Parameter::T,
                     0,
                     20,
                     {{0, 0.5}},
                     {{0.5, std::sqrt(2.0)}}},
        // p + (K-1)(K-2): the root passes through 0 twice, stable on either side.
        CriticalCase{"TwoIntervals",
                     {"K*K-3*K+2", "p", {{Parameter::K, 1}}},
                     Parameter::K,
                     0,
                     4,
                     {{0, 1}, {2, 4}},
                     {{1, 0}, {2, 0}}}),
    [](const testing::TestParamInfo<CriticalCase>& tested) { return tested.param.Name; });

TEST(Locus, DampingMovesThePolesOnACircle) {
  // p^2 + 2 Ksi W p + W^2: over Ksi, the complex poles stay at |p| = W.
  Scene scene({"W*W", "2*KSI*W*p+p^2", {{Parameter::W, 2}, {Parameter::Ksi, 0.5}}});
  const Locus l = ComputeLocus(CharacteristicFamily(scene.S, Parameter::Ksi), 0, 50);
  ASSERT_EQ(l.Outcome, LocusOutcome::Drawn);
  int complex = 0;
  for (const LocusSample& s : l.Samples)
    for (const auto& r : s.Roots)
      if (r.imag() != 0) {
        ++complex;
        ASSERT_NEAR(std::abs(r), 2, 1e-9) << s.Value;
      }
  EXPECT_GT(complex, 20);
  ASSERT_EQ(l.Stable.size(), 1u);
  EXPECT_NEAR(l.Stable[0].Low, 0, 1e-12);  // poles on the axis at Ksi = 0
  EXPECT_FALSE(l.Stable[0].LowIncluded);
}

TEST(Locus, CurrentPolesDampingAndDominance) {
  Scene scene({"K", "1+3*p+3*p^2+p^3", {{Parameter::K, 8}}});
  const CharacteristicFamily family(scene.S, Parameter::K);
  const LocusPoles p = ComputeLocusPoles(family, 8);
  ASSERT_TRUE(p.Ok);
  ASSERT_EQ(p.Closed.size(), 3u);
  EXPECT_NEAR(p.Closed[0].real(), 0, 1e-12);
  EXPECT_NEAR(p.Closed[0].imag(), std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(p.Closed[2].real(), -3, 1e-12);
  EXPECT_EQ(p.OpenPoles.size(), 3u);
  EXPECT_TRUE(p.OpenZeros.empty());
  // At K = 1: (p+1)^3 + 1 = 0, p = -2 and -1/2 ± j sqrt(3)/2 (Ksi 0.5, wn 1), 4 times nearer.
  const Dominance d = DominantPoles(ComputeLocusPoles(family, 1).Closed);
  ASSERT_EQ(d.Poles.size(), 2u);
  EXPECT_NEAR(d.Poles[0].real(), -0.5, 1e-12);
  EXPECT_NEAR(d.Ratio, 4, 1e-12);
}

TEST(Locus, AClickOnTheCrossingGivesTheCriticalGain) {
  Scene scene({"K", "1+3*p+3*p^2+p^3", {{Parameter::K, 4}}});
  const CharacteristicFamily family(scene.S, Parameter::K);
  const Locus l = ComputeLocus(family, 0, 400);
  double v = 0;
  ASSERT_TRUE(NearestLocusValue(family, l, {0.001, std::sqrt(3.0)}, &v));
  EXPECT_NEAR(v, 8, 0.02);
  ASSERT_TRUE(NearestLocusValue(family, l, {-3, 0}, &v));
  EXPECT_NEAR(v, 8, 1e-6);
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// The product a locus samples is the one the texts give at each value, to
// the bit: the parameter in numerators and denominators, in a quotient, a
// logarithm and a power, at values that divide by zero and that LN refuses.
TEST(Locus, ProductIsTheTextsOwnAtEveryValue) {
  HeadlessHost host;
  DiagramState s;
  SetStartValues(s);
  s.Host = &host;
  const char* const texts[3][2] = {{"K*(0.3+0.15*p)", "1+5*p+10*p^2+10*p^3+5*p^4+p^5"},
                                   {"2/K+LN(K)*p", "1+K^2*p+0.5*p^2"},
                                   {"1+0.2*p", "T+(1-K)*p+p^3/(K-1)"}};
  for (std::size_t i = 0; i < 3; ++i) {
    s.NumText[i].Assign(texts[i][0]);
    s.DenText[i].Assign(texts[i][1]);
    s.CurveTicked[i] = true;
  }
  // Recorded at K = 2; K = 1 divides by zero.
  s.ParamK = 2;
  const CharacteristicFamily family(s, Parameter::K);
  for (double k : {0.0, 1.0, -2.0, 0.37, 5.0, 1e300}) {
    ParameterValues values = ParametersOf(s);
    values.K = k;
    Polynomial num{1.0}, den{1.0};
    bool ok = true;
    for (std::size_t i = 0; i < 3; ++i) {
      CoefficientSet n, d;
      ok = ok && ExtractCoefficients(texts[i][0], values, n) &&
           ExtractCoefficients(texts[i][1], values, d);
      const auto times = [](const Polynomial& a, const CoefficientSet& b) {
        const int db = Degree(b);
        if (a.empty() || db < 0) return Polynomial{};
        Polynomial out(a.size() + static_cast<std::size_t>(db), 0.0);
        for (std::size_t x = 0; x < a.size(); ++x)
          for (std::size_t y = 0; y <= static_cast<std::size_t>(db); ++y) out[x + y] += a[x] * b[y];
        return out;
      };
      num = times(num, n);
      den = times(den, d);
    }
    Polynomial fn, fd;
    ASSERT_EQ(family.ProductAt(k, fn, fd), ok) << "K = " << k;
    if (!ok) continue;
    ASSERT_EQ(fn.size(), num.size());
    ASSERT_EQ(fd.size(), den.size());
    // Any NaN matches any NaN: its sign is the compiler's business.
    const auto same = [](double a, double b) {
      return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof(double)) == 0;
    };
    for (std::size_t j = 0; j < num.size(); ++j)
      EXPECT_TRUE(same(fn[j], num[j])) << k << " p^" << j;
    for (std::size_t j = 0; j < den.size(); ++j)
      EXPECT_TRUE(same(fd[j], den[j])) << k << " p^" << j;
  }
}

// The loop's poles and zeros are kept from one call to the next: whatever
// moved since, they are those of the coefficients asked about.
TEST(Locus, KeptPolesAreThoseOfTheCoefficientsAsked) {
  struct Step {
    const char* Name;
    CoefficientSet Num, Den;
  };
  const Step steps[] = {
      {"first", {2, 1}, {1, 3, 3, 1}},
      {"the same again", {2, 1}, {1, 3, 3, 1}},
      {"denominator moved", {2, 1}, {1, 3.5, 3, 1}},
      {"numerator moved", {2.5, 1}, {1, 3.5, 3, 1}},
      {"both moved", {1, 0, 1}, {0, 1, 2, 1}},
      {"back to the first", {2, 1}, {1, 3, 3, 1}},
  };
  DiagramState s;
  for (const Step& step : steps) {
    s.NumCoeffs[0] = step.Num;
    s.DenCoeffs[0] = step.Den;
    const LocusPoles p = ClosedLoopPolesOf(s, {0});
    const Polynomial num(step.Num.begin(), step.Num.end()), den(step.Den.begin(), step.Den.end());
    Polynomial sum(6);
    for (std::size_t k = 0; k < 6; ++k) sum[k] = num[k] + den[k];
    std::vector<std::complex<double>> closed = PolynomialRoots(sum);
    std::sort(closed.begin(), closed.end(), [](const auto& a, const auto& b) {
      return a.real() != b.real() ? a.real() > b.real() : a.imag() > b.imag();
    });
    EXPECT_EQ(p.Closed, closed) << step.Name;
    EXPECT_EQ(p.OpenPoles, PolynomialRoots(den)) << step.Name;
    EXPECT_EQ(p.OpenZeros, PolynomialRoots(num)) << step.Name;
  }
}

// After a redraw, the poles at the state's value are found from the
// coefficients it evaluated: the same as the family's own at that value.
TEST(Locus, PolesFromTheRedrawnCoefficientsAreTheFamilys) {
  struct Case {
    const char* Name;
    Loop L;
    Parameter P;
  };
  const Case cases[] = {
      {"gain in the numerator", {"K*(1+T*p)", "1+2*KSI*p+p^2+A*p^3", {}}, Parameter::K},
      {"damping in the denominator", {"K*(1+T*p)", "1+2*KSI*p+p^2+A*p^3", {}}, Parameter::Ksi},
      {"read by both", {"T+p/T", "1+T*p+p^2*B+p^3/10", {}}, Parameter::T},
  };
  for (const Case& c : cases) {
    Scene scene(c.L);
    const CharacteristicFamily family(scene.S, c.P);
    for (double step : {0.01, 0.37, -0.2}) {
      ParameterValue(scene.S, c.P) += step;
      ASSERT_TRUE(CompileFunction(scene.S, 0, ParametersOf(scene.S))) << c.Name;
      const LocusPoles want = ComputeLocusPoles(family, ParameterValue(scene.S, c.P));
      const LocusPoles got = ComputeLocusPoles(family, scene.S);
      ASSERT_TRUE(want.Ok) << c.Name;
      EXPECT_EQ(got.Closed, want.Closed) << c.Name << " " << step;
      EXPECT_EQ(got.OpenPoles, want.OpenPoles) << c.Name << " " << step;
      EXPECT_EQ(got.OpenZeros, want.OpenZeros) << c.Name << " " << step;
      EXPECT_EQ(got.Value, want.Value) << c.Name;
    }
  }
}

}  // namespace
}  // namespace tv
