// The roots of one polynomial in p, grouped as a student factors it: at 0, first order, second
// order.
#include "analysis/factors.h"

#include <Eigen/Core>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unsupported/Eigen/Polynomials>

#include "analysis/curves.h"

namespace tv {

namespace {

// A root of order m comes out of the eigenvalues as m roots spread by about
// eps^(1/m) of its modulus: 7e-4 for a fifth-order root, the worst degree 5
// allows. Roots closer than this, relative to their modulus, are one root.
constexpr double kClusterSpread = 2e-3;
// After merging, what is left of the imaginary part of a real root is
// rounding; a complex pair kept apart is at least half the spread away.
constexpr double kRealImaginary = 1e-9;

// Replaces every group of roots lying within the spread of one another by
// the group's mean. A group that holds a root and its conjugate (a multiple
// real root) gets a real mean, since their imaginary parts cancel exactly.
void MergeClusters(std::vector<std::complex<double>>& roots) {
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
  std::vector<std::complex<double>> merged(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::complex<double> sum = 0;
    int count = 0;
    for (std::size_t j = 0; j < n; ++j)
      if (find(j) == find(i)) {
        sum += roots[j];
        ++count;
      }
    merged[i] = sum / static_cast<double>(count);
  }
  roots = merged;
}

}  // namespace

double PolynomialFactors::LowFrequencyGain() const {
  double k = Lead;
  for (double r : Real) k *= -r;
  for (const std::complex<double>& r : Pairs) k *= std::norm(r);
  return k;
}

PolynomialFactors FactorPolynomial(const CoefficientSet& c) {
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

  std::vector<std::complex<double>> roots;
  if (n == 1) {
    roots.emplace_back(-c[static_cast<std::size_t>(low)] / c[static_cast<std::size_t>(low + 1)]);
  } else if (n > 1) {
    Eigen::VectorXd poly(n + 1);
    for (int k = 0; k <= n; ++k) poly[k] = c[static_cast<std::size_t>(low + k)];
    const Eigen::PolynomialSolver<double, Eigen::Dynamic> solver(poly);
    for (Eigen::Index k = 0; k < solver.roots().size(); ++k) roots.push_back(solver.roots()[k]);
  }
  MergeClusters(roots);

  for (const std::complex<double>& r : roots) {
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
            [](const auto& a, const auto& b) { return std::abs(a) < std::abs(b); });
  return f;
}

}  // namespace tv
