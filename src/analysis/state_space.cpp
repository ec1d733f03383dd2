// The ticked functions as one state-space system: each realised alone, in series, closed by unit
// feedback.
#include "analysis/state_space.h"

#include <algorithm>
#include <cmath>

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
      sys.System = Series(sys.System, RealiseRational(nums[k], dens[k]));
      originPoles += LowestPower(dens[k]);
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
