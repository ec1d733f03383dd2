// The asymptotic Bode diagram of a drawn curve: class, static gain, break pulsations, gain and
// phase.
#include "analysis/asymptotes.h"

#include <algorithm>
#include <cmath>

#include "analysis/factors.h"

namespace tv {

namespace {

// The factors of one polynomial as breaks: pole for the denominator. A root
// beyond the doubles (-1/T with T = 1e-320) would bend the asymptotes past
// every pulsation: it is no break, and no infinite pulsation is written.
void AddBreaks(const PolynomialFactors& f, bool pole, std::vector<Break>& breaks) {
  for (double r : f.Real)
    if (std::isfinite(r)) breaks.push_back(Break{std::fabs(r), 1, pole, std::nullopt, r > 0});
  for (const std::complex<double>& r : f.Pairs) {
    const double w = std::abs(r);
    if (std::isfinite(w)) breaks.push_back(Break{w, 2, pole, -r.real() / w, r.real() > 0});
  }
}

bool SameFactor(const Break& a, const Break& b) {
  return a.W == b.W && a.Pole == b.Pole && a.RightHalfPlane == b.RightHalfPlane && a.Ksi == b.Ksi;
}

// Sorted, and a factor repeated (a multiple root, or the same factor in two
// functions of a product) made one break of the summed order.
void SortBreaks(std::vector<Break>& breaks) {
  std::stable_sort(breaks.begin(), breaks.end(), [](const Break& a, const Break& b) {
    if (a.W != b.W) return a.W < b.W;
    return !a.Pole && b.Pole;
  });
  std::vector<Break> merged;
  for (const Break& b : breaks) {
    bool joined = false;
    for (std::size_t k = merged.size(); k-- > 0 && merged[k].W == b.W;)
      if (SameFactor(merged[k], b)) {
        merged[k].Order += b.Order;
        joined = true;
        break;
      }
    if (!joined) merged.push_back(b);
  }
  breaks = merged;
}

}  // namespace

double Break::SlopeChangeDbPerDecade() const { return (Pole ? -20.0 : 20.0) * Order; }

double Break::PhaseStepDeg() const {
  const double step = 90.0 * Order * (Pole ? -1.0 : 1.0);
  return RightHalfPlane ? -step : step;
}

std::optional<double> Break::ResonanceDb() const {
  if (Order % 2 != 0 || !Ksi) return std::nullopt;
  const double ksi = std::fabs(*Ksi);
  if (!(ksi > 0 && ksi < 0.707)) return std::nullopt;
  const double peak = Order / 2 * 20.0 * std::log10(1.0 / (2.0 * ksi * std::sqrt(1.0 - ksi * ksi)));
  return Pole ? peak : -peak;
}

double CurveAsymptotes::FinalSlopeDbPerDecade() const {
  double slope = InitialSlopeDbPerDecade();
  for (const Break& b : Breaks) slope += b.SlopeChangeDbPerDecade();
  return slope;
}

double CurveAsymptotes::GainDbAt(double w) const {
  const double lw = std::log10(w);
  double g = 20.0 * std::log10(std::fabs(StaticGain)) + InitialSlopeDbPerDecade() * lw;
  for (const Break& b : Breaks)
    if (w > b.W) g += b.SlopeChangeDbPerDecade() * (lw - std::log10(b.W));
  return g;
}

double CurveAsymptotes::PhaseDegAt(double w) const {
  double phi = -90.0 * Class + (StaticGain < 0 ? 180.0 : 0.0);
  for (const Break& b : Breaks)
    if (w >= b.W) phi += b.PhaseStepDeg();
  return phi;
}

CurveAsymptotes FunctionAsymptotes(const CoefficientSet& num, const CoefficientSet& den) {
  CurveAsymptotes a;
  const PolynomialFactors n = FactorPolynomial(num);
  const PolynomialFactors d = FactorPolynomial(den);
  if (!n.Valid || !d.Valid) return a;
  a.Valid = true;
  a.Class = d.AtZero - n.AtZero;
  a.StaticGain = n.LowFrequencyGain() / d.LowFrequencyGain();
  AddBreaks(n, false, a.Breaks);
  AddBreaks(d, true, a.Breaks);
  SortBreaks(a.Breaks);
  return a;
}

CurveAsymptotes ProductAsymptotes(const std::vector<CurveAsymptotes>& factors) {
  CurveAsymptotes product;
  product.Valid = true;
  for (const CurveAsymptotes& f : factors) {
    if (!f.Valid) return CurveAsymptotes{};
    product.Class += f.Class;
    product.StaticGain *= f.StaticGain;
    product.Breaks.insert(product.Breaks.end(), f.Breaks.begin(), f.Breaks.end());
  }
  SortBreaks(product.Breaks);
  return product;
}

CurveAsymptotes AsymptotesOf(const DiagramState& s, const Curve& c) {
  std::vector<CurveAsymptotes> factors;
  for (int i : c.Factors) {
    const auto k = static_cast<std::size_t>(i);
    factors.push_back(FunctionAsymptotes(s.NumCoeffs[k], s.DenCoeffs[k]));
  }
  return ProductAsymptotes(factors);
}

}  // namespace tv
