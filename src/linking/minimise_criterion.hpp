#pragma once

#include <string>

#include "linking/characteristic_curve_criterion.hpp"

namespace irteq {

// How a minimisation ended.
enum class MinimiserTermination {
  converged,
  not_a_number_at_start,  // the criterion is not a number at the start values
  no_descent,             // no step along the search direction lowers the criterion
  step_limit,             // 100 Newton steps without convergence
};

// The reason a minimisation without a minimum gives, as the report shows it:
// "no convergence in 100 Newton steps"; empty for converged.
std::string termination_message(MinimiserTermination termination);

struct CriterionMinimum {
  MinimiserTermination termination = MinimiserTermination::converged;
  double A = 0.0;
  double B = 0.0;
  double value = 0.0;  // the criterion at (A, B)
  int iterations = 0;
};

// Newton's method on (A, B) for the method's criterion from the start
// values, with the analytic Hessian; a step that would raise the criterion
// (beyond rounding) or make A not positive is halved, and where the Hessian
// is not positive definite the step follows the gradient down. Newton steps
// below 1e-6 relative are taken whole. Converged when the Newton step would
// change neither A nor B by more than 1e-12 relative (to 1 for values below
// 1); at most 100 steps.
CriterionMinimum minimise_criterion(LinkingMethod method, const CriterionSetup& setup, double A, double B);

}  // namespace irteq
