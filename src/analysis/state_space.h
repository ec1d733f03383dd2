// The ticked functions as one state-space system: each realised alone, in series, closed by unit
// feedback.
#pragma once

#include <Eigen/Dense>
#include <array>
#include <vector>

#include "core/diagram_state.h"

namespace tv {

// x' = A x + B u, y = C x + D u, one input, one output.
struct StateSpace {
  Eigen::MatrixXd A;
  Eigen::VectorXd B;
  Eigen::RowVectorXd C;
  double D = 0;

  int Order() const { return static_cast<int>(A.rows()); }
};

// A polynomial by increasing powers of p, of any degree.
using Polynomial = std::vector<double>;

// Highest power with a non-zero coefficient; -1 for the zero polynomial.
int PolynomialDegree(const Polynomial& c);
Polynomial Multiply(const Polynomial& a, const Polynomial& b);

// Why a system has no step response to draw.
enum class SystemStatus {
  Ok,
  ZeroDenominator,  // a function's denominator is the zero polynomial
  Improper,         // the numerator's degree is above the denominator's: a Dirac
  LoopUndefined,    // 1 + H is identically zero
};

// The system whose step response is drawn, and what its transfer function
// gives near p = 0 (the final value or the ramp come from there, exactly).
struct StepSystem {
  SystemStatus Status = SystemStatus::Ok;
  StateSpace System;
  // Near p = 0 the whole transfer function is LowGain · p^OriginOrder:
  // OriginOrder -1 is one integrator, 0 a finite static gain. A transfer
  // function that is identically zero has ZeroTransfer set.
  int OriginOrder = 0;
  double LowGain = 0;
  bool ZeroTransfer = false;
  // Eigenvalues of A that lie exactly at the origin by construction (the
  // integrators of the realisation, cancelled by a zero or not).
  int OriginPoles = 0;
};

// N/D in controllable companion form, of order deg D. D must not be zero and
// deg N must not exceed deg D.
StateSpace RealiseRational(const Polynomial& num, const Polynomial& den);

// first, then second: the output of first drives second.
StateSpace Series(const StateSpace& first, const StateSpace& second);

// u = r - y. 1 + D of the open loop must not be zero.
StateSpace CloseUnitLoop(const StateSpace& open);

// The product of the given functions (indices 0..2) of these coefficient
// sets, closed by unit feedback when asked. The functions are realised one
// by one, each as a series of first- and second-order sections built from
// its roots, and connected in series, so the product is never multiplied out;
// only when a factor is improper on its own (a product may still be proper)
// is the product realised from its multiplied polynomials.
StepSystem RealiseStepSystem(const std::array<CoefficientSet, 3>& num,
                             const std::array<CoefficientSet, 3>& den,
                             const std::vector<int>& factors, bool closedLoop);

}  // namespace tv
