// The ticked functions as one state-space system: each realised alone, in series, closed by unit
// feedback.
#include "analysis/state_space.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "analysis/factors.h"

namespace tv {

namespace {

// A sum whose terms cancel to rounding noise is zero: 1 + H of K/(1+p) with
// K = -1 must have no constant term, whatever the last bit of K·1 says.
double CancelledSum(double a, double b) {
  const double sum = a + b;
  return std::abs(sum) <= 1e-12 * (std::abs(a) + std::abs(b)) ? 0.0 : sum;
}

Polynomial Sum(const Polynomial& a, const Polynomial& b) {
  Polynomial sum(std::max(a.size(), b.size()), 0.0);
  for (std::size_t k = 0; k < sum.size(); ++k)
    sum[k] = CancelledSum(k < a.size() ? a[k] : 0.0, k < b.size() ? b[k] : 0.0);
  return sum;
}

// Lowest power with a non-zero coefficient; -1 for the zero polynomial.
int LowestPower(const Polynomial& c) {
  for (std::size_t k = 0; k < c.size(); ++k)
    if (c[k] != 0) return static_cast<int>(k);
  return -1;
}

Polynomial FromSet(const CoefficientSet& c) { return Polynomial(c.begin(), c.end()); }

// A power of p common to N and D is taken out of both: p/(p(1+p)) is
// 1/(1+p), whose realisation then has no mode at the origin to hide.
void CancelCommonOrigin(Polynomial& num, Polynomial& den) {
  const int k = std::min(LowestPower(num), LowestPower(den));
  if (k <= 0) return;
  num.erase(num.begin(), num.begin() + k);
  den.erase(den.begin(), den.begin() + k);
}

// One section of a function's series realisation: num/den, den monic of
// degree 1 or 2, num of degree at most den's.
struct Section {
  Polynomial Num{1.0};
  Polynomial Den;
};

Polynomial RealFactor(double r) { return {-r, 1.0}; }
Polynomial PairFactor(std::complex<double> r) { return {std::norm(r), -2 * r.real(), 1.0}; }

// A section with the state of a second order scaled by its natural
// pulsation, so that fast and slow sections have entries of one size; each
// section is given a unit static gain where it has one, *gain taking what it
// lost.
StateSpace RealiseSection(const Section& s, double* gain) {
  const int n = PolynomialDegree(s.Den);
  Polynomial num = s.Num;
  num.resize(static_cast<std::size_t>(n) + 1, 0.0);
  if (s.Den[0] != 0 && num[0] != 0) {
    const double k = s.Den[0] / num[0];
    for (double& c : num) c *= k;
    *gain /= k;
  }
  StateSpace ss = RealiseRational(num, s.Den);
  if (n == 2) {
    const double a0 = std::abs(s.Den[0]), a1 = std::abs(s.Den[1]);
    const double w = a0 > 0 ? std::sqrt(a0) : a1 > 0 ? a1 : 1.0;
    // x1 -> w x1: the same transfer, A(0,1) = w and A(1,0) = -a0 / w.
    ss.A(0, 1) *= w;
    ss.A(1, 0) /= w;
    ss.C(0) /= w;
  }
  return ss;
}

// N/D as a series of first- and second-order sections built from the roots
// of N and D: each section only knows its own time scale, so a function whose
// coefficients span many decades is realised without mixing them. None when
// a polynomial cannot be factored (false then).
bool RealiseBySections(const CoefficientSet& num, const CoefficientSet& den, StateSpace* out,
                       int* originPoles) {
  const PolynomialFactors zeros = FactorPolynomial(num);
  const PolynomialFactors poles = FactorPolynomial(den);
  if (!zeros.Valid || !poles.Valid) return false;
  const int common = std::min(zeros.AtZero, poles.AtZero);
  std::vector<Section> pairs, reals;
  for (const std::complex<double>& r : poles.Pairs) pairs.push_back({{1.0}, PairFactor(r)});
  for (int k = common; k < poles.AtZero; ++k) reals.push_back({{1.0}, RealFactor(0)});
  for (double r : poles.Real) reals.push_back({{1.0}, RealFactor(r)});
  std::vector<double> realZeros(static_cast<std::size_t>(zeros.AtZero - common), 0.0);
  realZeros.insert(realZeros.end(), zeros.Real.begin(), zeros.Real.end());
  const std::size_t poleCount = reals.size() + 2 * pairs.size();
  if (realZeros.size() + 2 * zeros.Pairs.size() > poleCount) return false;
  // A complex pair of zeros needs a second-order section: two real poles are
  // joined into one when the pairs of poles are too few.
  while (zeros.Pairs.size() > pairs.size()) {
    Section joined{{1.0}, Multiply(reals[reals.size() - 2].Den, reals.back().Den)};
    reals.resize(reals.size() - 2);
    pairs.push_back(joined);
  }
  std::size_t next = 0;
  for (const std::complex<double>& z : zeros.Pairs) pairs[next++].Num = PairFactor(z);
  std::vector<Section> sections = reals;
  sections.insert(sections.end(), pairs.begin(), pairs.end());
  // The real zeros go where there is room, first-order sections first.
  for (double z : realZeros)
    for (Section& s : sections)
      if (PolynomialDegree(s.Num) < PolynomialDegree(s.Den)) {
        s.Num = Multiply(s.Num, RealFactor(z));
        break;
      }
  double gain = zeros.Lead / poles.Lead;
  StateSpace ss = RealiseRational({1.0}, {1.0});
  for (const Section& s : sections) ss = Series(ss, RealiseSection(s, &gain));
  ss.C *= gain;
  ss.D *= gain;
  if (!ss.A.allFinite() || !ss.C.allFinite() || !std::isfinite(ss.D)) return false;
  *out = ss;
  *originPoles = poles.AtZero - common;
  return true;
}

}  // namespace

int PolynomialDegree(const Polynomial& c) {
  for (std::size_t k = c.size(); k-- > 0;)
    if (c[k] != 0) return static_cast<int>(k);
  return -1;
}

Polynomial Multiply(const Polynomial& a, const Polynomial& b) {
  if (a.empty() || b.empty()) return {};
  Polynomial product(a.size() + b.size() - 1, 0.0);
  for (std::size_t i = 0; i < a.size(); ++i)
    for (std::size_t j = 0; j < b.size(); ++j) product[i + j] += a[i] * b[j];
  return product;
}

StateSpace RealiseRational(const Polynomial& num, const Polynomial& den) {
  const int n = PolynomialDegree(den);
  const double lead = den[static_cast<std::size_t>(n)];
  const auto b = [&](int k) {
    return k < static_cast<int>(num.size()) ? num[static_cast<std::size_t>(k)] / lead : 0.0;
  };
  StateSpace ss;
  ss.D = b(n);
  ss.A = Eigen::MatrixXd::Zero(n, n);
  ss.B = Eigen::VectorXd::Zero(n);
  ss.C = Eigen::RowVectorXd::Zero(n);
  for (int i = 0; i + 1 < n; ++i) ss.A(i, i + 1) = 1.0;
  for (int k = 0; k < n; ++k) {
    const double a = den[static_cast<std::size_t>(k)] / lead;
    ss.A(n - 1, k) = -a;
    ss.C(k) = b(k) - ss.D * a;
  }
  if (n > 0) ss.B(n - 1) = 1.0;
  return ss;
}

StateSpace Series(const StateSpace& first, const StateSpace& second) {
  const int n1 = first.Order();
  const int n2 = second.Order();
  StateSpace ss;
  ss.A = Eigen::MatrixXd::Zero(n1 + n2, n1 + n2);
  ss.A.topLeftCorner(n1, n1) = first.A;
  ss.A.bottomLeftCorner(n2, n1) = second.B * first.C;
  ss.A.bottomRightCorner(n2, n2) = second.A;
  ss.B.resize(n1 + n2);
  ss.B.head(n1) = first.B;
  ss.B.tail(n2) = second.B * first.D;
  ss.C.resize(n1 + n2);
  ss.C.head(n1) = second.D * first.C;
  ss.C.tail(n2) = second.C;
  ss.D = second.D * first.D;
  return ss;
}

StateSpace CloseUnitLoop(const StateSpace& open) {
  // y = C x + D (r - y) gives y = (C x + D r) / (1 + D).
  const double k = 1.0 / (1.0 + open.D);
  StateSpace ss;
  ss.A = open.A - k * (open.B * open.C);
  ss.B = k * open.B;
  ss.C = k * open.C;
  ss.D = k * open.D;
  return ss;
}

StepSystem RealiseStepSystem(const std::array<CoefficientSet, 3>& num,
                             const std::array<CoefficientSet, 3>& den,
                             const std::vector<int>& factors, bool closedLoop) {
  StepSystem sys;
  std::vector<Polynomial> nums, dens;
  bool everyFactorProper = true;
  for (int i : factors) {
    Polynomial n = FromSet(num[static_cast<std::size_t>(i)]);
    Polynomial d = FromSet(den[static_cast<std::size_t>(i)]);
    if (PolynomialDegree(d) < 0) {
      sys.Status = SystemStatus::ZeroDenominator;
      return sys;
    }
    CancelCommonOrigin(n, d);
    if (PolynomialDegree(n) > PolynomialDegree(d)) everyFactorProper = false;
    nums.push_back(std::move(n));
    dens.push_back(std::move(d));
  }

  // The whole transfer function multiplied out: only its degrees and its
  // lowest terms are read from it, never its response.
  Polynomial totalNum{1.0}, totalDen{1.0};
  for (std::size_t k = 0; k < nums.size(); ++k) {
    totalNum = Multiply(totalNum, nums[k]);
    totalDen = Multiply(totalDen, dens[k]);
  }
  if (closedLoop) totalDen = Sum(totalDen, totalNum);
  if (PolynomialDegree(totalDen) < 0) {
    sys.Status = SystemStatus::LoopUndefined;
    return sys;
  }
  if (PolynomialDegree(totalNum) > PolynomialDegree(totalDen)) {
    sys.Status = SystemStatus::Improper;
    return sys;
  }
  const int lowDen = LowestPower(totalDen);
  const int lowNum = LowestPower(totalNum);
  sys.ZeroTransfer = lowNum < 0;
  if (!sys.ZeroTransfer) {
    sys.OriginOrder = lowNum - lowDen;
    sys.LowGain =
        totalNum[static_cast<std::size_t>(lowNum)] / totalDen[static_cast<std::size_t>(lowDen)];
  }

  if (everyFactorProper) {
    sys.System = RealiseRational({1.0}, {1.0});
    int originPoles = 0;
    for (std::size_t k = 0; k < nums.size(); ++k) {
      const auto i = static_cast<std::size_t>(factors[k]);
      StateSpace section;
      int origin = 0;
      if (PolynomialDegree(nums[k]) >= 0 && RealiseBySections(num[i], den[i], &section, &origin)) {
        sys.System = Series(sys.System, section);
        originPoles += origin;
      } else {
        sys.System = Series(sys.System, RealiseRational(nums[k], dens[k]));
        originPoles += LowestPower(dens[k]);
      }
    }
    if (closedLoop) {
      // 1 + D = 0 would have lowered the degree of 1 + H, caught above as
      // improper; rounding may still leave it a hair away from zero.
      if (std::abs(1.0 + sys.System.D) <= 1e-12 * (1.0 + std::abs(sys.System.D))) {
        sys.Status = SystemStatus::Improper;
        return sys;
      }
      sys.System = CloseUnitLoop(sys.System);
      originPoles = lowDen;
    }
    sys.OriginPoles = originPoles;
  } else {
    CancelCommonOrigin(totalNum, totalDen);
    sys.System = RealiseRational(totalNum, totalDen);
    sys.OriginPoles = LowestPower(totalDen);
  }
  return sys;
}

}  // namespace tv
