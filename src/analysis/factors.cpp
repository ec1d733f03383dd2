// The roots of one polynomial in p, grouped as a student factors it: at 0, first order, second
// order.
#include "analysis/factors.h"

#include <Eigen/Core>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include "analysis/companion_solver.h"

#include "analysis/curves.h"

namespace tv {

namespace {

using Complex = std::complex<double>;
using LongComplex = std::complex<long double>;

// A root of order m comes out of the eigenvalues as m roots spread by about
// eps^(1/m) of its modulus, a few thousandths for a fifth-order root: roots
// closer than this, relative to their modulus, are tried as one multiple root.
constexpr double kClusterSpread = 2e-2;
// A multiple root is accepted when every lower derivative vanishes there to
// this fraction of the size of its terms. A true multiple root leaves only
// rounding; two distinct roots d apart (relative) leave about d^2.
constexpr double kMultipleResidual = 1e-9;
// What is left of the imaginary part of a real root after the eigenvalues is
// rounding; a complex pair kept apart is far above it.
constexpr double kRealImaginary = 1e-9;

// The polynomial a (increasing powers) differentiated j times.
std::vector<long double> Derivative(const std::vector<long double>& a, int j) {
  std::vector<long double> d(a);
  for (int step = 0; step < j && !d.empty(); ++step) {
    for (std::size_t k = 1; k < d.size(); ++k) d[k - 1] = d[k] * static_cast<long double>(k);
    d.pop_back();
  }
  return d;
}

// The value at z, and the sum of the terms' moduli (the scale of its rounding).
LongComplex ValueAt(const std::vector<long double>& a, LongComplex z, long double* size) {
  LongComplex v = 0;
  long double s = 0;
  const long double m = std::abs(z);
  for (std::size_t k = a.size(); k-- > 0;) {
    v = v * z + a[k];
    s = s * m + std::fabs(a[k]);
  }
  if (size != nullptr) *size = s;
  return v;
}

// Newton's iteration on a from z, in extended precision, kept only while it
// lowers |a|: the root as exact as the polynomial's own rounding allows.
Complex Polish(const std::vector<long double>& a, Complex z) {
  const std::vector<long double> d = Derivative(a, 1);
  LongComplex x = z;
  long double best = std::abs(ValueAt(a, x, nullptr));
  for (int iter = 0; iter < 8 && best > 0; ++iter) {
    const LongComplex slope = ValueAt(d, x, nullptr);
    if (slope == LongComplex(0)) break;
    const LongComplex next = x - ValueAt(a, x, nullptr) / slope;
    const long double v = std::abs(ValueAt(a, next, nullptr));
    if (!(v < best)) break;
    x = next;
    best = v;
  }
  return Complex(static_cast<double>(x.real()), static_cast<double>(x.imag()));
}

// The eigenvalues of the companion matrix of a (degree n >= 2, a[0] != 0),
// with p scaled so that the roots' geometric mean modulus is 1: the
// coefficients of the scaled polynomial are then of comparable size however
// far the roots lie from 1.
std::vector<Complex> CompanionRoots(const std::vector<long double>& a) {
  const int n = static_cast<int>(a.size()) - 1;
  double scale =
      std::pow(std::fabs(static_cast<double>(a[0] / a[static_cast<std::size_t>(n)])), 1.0 / n);
  if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
  Eigen::VectorXd poly(n + 1);
  long double power = 1;
  for (int k = 0; k <= n; ++k) {
    poly[k] = static_cast<double>(a[static_cast<std::size_t>(k)] * power);
    power *= scale;
  }
  poly /= poly.cwiseAbs().maxCoeff();
  std::vector<Complex> roots;
  const CompanionSolver solver(poly);
  for (Eigen::Index k = 0; k < solver.roots().size(); ++k)
    roots.push_back(solver.roots()[k] * scale);
  return roots;
}

// Groups the roots lying within the spread of one another; a group whose
// mean is a root of every lower derivative is one multiple root, written
// m times at the same value (exactly real for a real root); the others are
// polished one by one.
void SettleRoots(const std::vector<long double>& a, std::vector<Complex>& roots) {
  const std::size_t n = roots.size();
  std::vector<std::size_t> group(n);
  for (std::size_t i = 0; i < n; ++i) group[i] = i;
  const auto find = [&](std::size_t i) {
    while (group[i] != i) i = group[i];
    return i;
  };
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j) {
      const double scale = std::max(std::abs(roots[i]), std::abs(roots[j]));
      if (std::abs(roots[i] - roots[j]) <= kClusterSpread * scale) group[find(j)] = find(i);
    }
  std::vector<Complex> settled(roots);
  for (std::size_t i = 0; i < n; ++i) {
    if (find(i) != i) continue;
    std::vector<std::size_t> members;
    Complex sum = 0;
    for (std::size_t j = 0; j < n; ++j)
      if (find(j) == i) {
        members.push_back(j);
        sum += roots[j];
      }
    const int m = static_cast<int>(members.size());
    bool multiple = false;
    if (m > 1) {
      Complex mean = sum / static_cast<double>(m);
      // The imaginary parts of a split real root cancel only to rounding.
      if (std::fabs(mean.imag()) <= kClusterSpread * std::abs(mean)) {
        bool conjugates = false;
        for (std::size_t j : members) conjugates |= roots[j].imag() * mean.imag() < 0;
        if (conjugates) mean = mean.real();
      }
      const Complex r = Polish(Derivative(a, m - 1), mean);
      multiple = true;
      for (int j = 0; j + 1 < m && multiple; ++j) {
        long double size = 0;
        const long double v = std::abs(ValueAt(Derivative(a, j), r, &size));
        multiple = v <= kMultipleResidual * size;
      }
      if (multiple)
        for (std::size_t j : members) settled[j] = r;
    }
    if (!multiple)
      for (std::size_t j : members) settled[j] = Polish(a, roots[j]);
  }
  roots = settled;
}

}  // namespace

double PolynomialFactors::LowFrequencyGain() const {
  double k = Lead;
  for (double r : Real) k *= -r;
  for (const std::complex<double>& r : Pairs) k *= std::norm(r);
  return k;
}

namespace {

PolynomialFactors Factored(const CoefficientSet& c) {
  PolynomialFactors f;
  for (double v : c)
    if (!std::isfinite(v)) return f;
  const int degree = Degree(c);
  if (degree < 0) return f;
  f.Valid = true;
  f.Lead = c[static_cast<std::size_t>(degree)];
  // Exact zeros at the low end are roots at 0 and need no solver.
  int low = 0;
  while (c[static_cast<std::size_t>(low)] == 0) ++low;
  f.AtZero = low;
  const int n = degree - low;

  std::vector<long double> a;
  for (int k = 0; k <= n; ++k) a.push_back(c[static_cast<std::size_t>(low + k)]);
  std::vector<Complex> roots;
  if (n == 1) {
    roots.emplace_back(static_cast<double>(-a[0] / a[1]));
  } else if (n > 1) {
    roots = CompanionRoots(a);
    SettleRoots(a, roots);
  }

  for (const Complex& r : roots) {
    const double modulus = std::abs(r);
    if (modulus < kRootAtZero) {
      ++f.AtZero;
    } else if (std::fabs(r.imag()) <= kRealImaginary * modulus) {
      f.Real.push_back(r.real());
    } else if (r.imag() > 0) {
      f.Pairs.push_back(r);
    }
    // A root below the real axis is the conjugate of one kept above it.
  }
  std::sort(f.Real.begin(), f.Real.end());
  std::sort(f.Pairs.begin(), f.Pairs.end(),
            [](const auto& x, const auto& y) { return std::abs(x) < std::abs(y); });
  return f;
}

}  // namespace

PolynomialFactors FactorPolynomial(const CoefficientSet& c) {
  // At each redraw the picture's asymptotes, the Mesures window, the Nyquist
  // window and the time response factor the same polynomials, at most the
  // six of three functions: the last eight are kept with the bits of their
  // coefficients.
  struct Kept {
    CoefficientSet Coefficients;
    PolynomialFactors Factors;
  };
  constexpr std::size_t kKept = 8;
  thread_local std::array<Kept, kKept> kept;
  thread_local std::size_t count = 0, next = 0;
  for (std::size_t k = 0; k < count; ++k)
    if (std::memcmp(kept[k].Coefficients.data(), c.data(), sizeof c) == 0) return kept[k].Factors;
  PolynomialFactors f = Factored(c);
  kept[next] = {c, f};
  next = (next + 1) % kKept;
  count = std::min(count + 1, kKept);
  return f;
}

}  // namespace tv
