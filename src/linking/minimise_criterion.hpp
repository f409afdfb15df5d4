#pragma once

#include <string>

#include "linking/characteristic_curve_criterion.hpp"

namespace irteq {

struct CriterionMinimum {
  bool converged = false;
  double A = 0.0;
  double B = 0.0;
  double value = 0.0;
  int iterations = 0;
  std::string problem;  // why there is no minimum
};

using Criterion = CriterionValue (*)(const CriterionSetup&, double A, double B);

// Newton's method on (A, B) from the start values, with the analytic
// Hessian; a step that would raise the criterion (beyond rounding) or make A
// not positive is halved, and where the Hessian is not positive definite the
// step follows the gradient down. Newton steps below 1e-6 relative are taken
// whole. Converged when the Newton step would change neither A nor B by more
// than 1e-12 relative (to 1 for values below 1); at most 100 steps.
CriterionMinimum minimise_criterion(Criterion criterion, const CriterionSetup& setup, double A, double B);

}  // namespace irteq
