// The solver without Schur vectors against Eigen's own polynomial solver, bit for bit.
#include "analysis/companion_solver.h"

#include <gtest/gtest.h>

#include <random>

namespace tv {
namespace {

// The locus, the factors and the crossings read their roots from it: any
// difference would move a drawn point, however little.
TEST(CompanionSolverTest, SameRootsAsEigensSolver) {
  std::mt19937 random(20261210);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-12, 12), degree(1, 15);
  for (int trial = 0; trial < 300; ++trial) {
    Eigen::VectorXd poly(degree(random) + 1);
    for (Eigen::Index k = 0; k < poly.size(); ++k)
      poly[k] = mantissa(random) * std::pow(10.0, trial % 3 == 0 ? exponent(random) : 0);
    // Exact small integers at the low end too, as typed texts give.
    if (trial % 5 == 0 && poly.size() > 3) poly.head(3) << 1, 2, 1;
    if (poly[poly.size() - 1] == 0) poly[poly.size() - 1] = 1;
    const Eigen::PolynomialSolver<double, Eigen::Dynamic> reference(poly);
    const CompanionSolver solver(poly);
    ASSERT_EQ(solver.roots().size(), reference.roots().size()) << trial;
    for (Eigen::Index k = 0; k < solver.roots().size(); ++k) {
      EXPECT_EQ(solver.roots()[k].real(), reference.roots()[k].real()) << trial;
      EXPECT_EQ(solver.roots()[k].imag(), reference.roots()[k].imag()) << trial;
    }
  }
}

}  // namespace
}  // namespace tv
