// A damped Newton iteration for the two linking constants. The criteria are
// smooth sums of squares, so from moment-method start values the full step
// is almost always taken and convergence is quadratic; halving only guards
// the first steps of a poor start.
#include "linking/minimise_criterion.hpp"

#include <cmath>

namespace irteq {

namespace {

constexpr int max_steps = 100;
constexpr int max_halvings = 60;
constexpr double relative_step = 1e-12;
// Rounding of a sum of squares: a step may raise it by this share and still count as no rise.
constexpr double rounding = 64.0 * 2.220446049250313e-16;

bool settled(double step, double value) { return std::fabs(step) <= relative_step * std::fmax(1.0, std::fabs(value)); }
bool near(double step, double value) { return std::fabs(step) <= 1e-6 * std::fmax(1.0, std::fabs(value)); }

}  // namespace

std::string termination_message(MinimiserTermination termination) {
  switch (termination) {
    case MinimiserTermination::converged: return {};
    case MinimiserTermination::not_a_number_at_start: return "the criterion is not a number at the start";
    case MinimiserTermination::no_descent: return "no step lowers the criterion";
    case MinimiserTermination::step_limit: return "no convergence in " + std::to_string(max_steps) + " Newton steps";
  }
  return {};
}

CriterionMinimum minimise_criterion(LinkingMethod method, const CriterionSetup& setup, double A, double B) {
  const auto criterion = [&](double a, double b) { return characteristic_curve_criterion(method, setup, a, b); };
  CriterionValue here = criterion(A, B);
  if (!std::isfinite(here.value)) return {MinimiserTermination::not_a_number_at_start, A, B, here.value, 0};
  for (int step = 1; step <= max_steps; ++step) {
    const auto& g = here.gradient;
    const auto& h = here.hessian;
    const double determinant = h[0] * h[2] - h[1] * h[1];
    const bool newton = h[0] > 0.0 && determinant > 0.0;
    double dA = -g[0];
    double dB = -g[1];
    if (newton) {
      dA = -(h[2] * g[0] - h[1] * g[1]) / determinant;
      dB = -(h[0] * g[1] - h[1] * g[0]) / determinant;
      // A Newton step this small would not move the constants: they have converged.
      if (settled(dA, A) && settled(dB, B)) return {MinimiserTermination::converged, A, B, here.value, step - 1};
    }
    // Close to the minimum the criterion changes by less than its own
    // rounding, so a comparison of values cannot judge the step there: a
    // short Newton step is taken as it is.
    const bool trusted = newton && near(dA, A) && near(dB, B);
    double scale = 1.0;
    bool taken = false;
    CriterionValue there;
    for (int halving = 0; halving <= max_halvings; ++halving) {
      if (A + scale * dA > 0.0) {
        there = criterion(A + scale * dA, B + scale * dB);
        if (std::isfinite(there.value) && (trusted || there.value <= here.value + rounding * here.value)) {
          taken = true;
          break;
        }
      }
      scale *= 0.5;
    }
    if (!taken) return {MinimiserTermination::no_descent, A, B, here.value, step};
    const double next_A = A + scale * dA;
    const double next_B = B + scale * dB;
    const bool done = settled(next_A - A, next_A) && settled(next_B - B, next_B);
    A = next_A;
    B = next_B;
    here = there;
    if (done) return {MinimiserTermination::converged, A, B, here.value, step};
  }
  return {MinimiserTermination::step_limit, A, B, here.value, max_steps};
}

}  // namespace irteq
