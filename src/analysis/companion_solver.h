// The roots of a real polynomial as Eigen's polynomial solver finds them, without the
// eigenvectors it computes and never uses.
#pragma once

#include <Eigen/Core>
#include <unsupported/Eigen/Polynomials>

namespace tv {

// Eigen::PolynomialSolver's roots, bit for bit: the same balanced companion
// matrix, the same real Schur form and the same cleaning of nearly real
// roots; only the Schur vectors are not accumulated (most of the solver's
// time for a degree-15 product), and they do not enter the eigenvalues.
class CompanionSolver : public Eigen::PolynomialSolver<double, Eigen::Dynamic> {
 public:
  // poly: the coefficients from the constant term up. No roots when one is
  // not finite or the last one is 0 (coefficients scaled beyond the doubles'
  // range lose it), where Eigen's solver would assert.
  explicit CompanionSolver(const Eigen::VectorXd& poly) {
    if (poly.size() < 2 || !poly.allFinite() || poly[poly.size() - 1] == 0) return;
    if (poly.size() == 2) {
      m_roots.resize(1);
      m_roots[0] = -poly[0] / poly[1];
      return;
    }
    Eigen::internal::companion<double, Eigen::Dynamic> companion(poly);
    companion.balance();
    m_eigenSolver.compute(companion.denseMatrix(), false);
    m_roots = m_eigenSolver.eigenvalues();
    const double coarse =
        std::pow(4.0, static_cast<double>(poly.size() + 1)) * Eigen::NumTraits<double>::epsilon();
    for (Eigen::Index i = 0; i < m_roots.size(); ++i) {
      if (Eigen::internal::isMuchSmallerThan(std::abs(m_roots[i].imag()),
                                             std::abs(m_roots[i].real()), coarse)) {
        const std::complex<double> real(m_roots[i].real());
        if (std::abs(Eigen::poly_eval(poly, real)) <= std::abs(Eigen::poly_eval(poly, m_roots[i])))
          m_roots[i] = real;
      }
    }
  }
};

}  // namespace tv
