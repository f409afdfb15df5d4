#pragma once

#include "irteq/input.hpp"
#include "irteq/result.hpp"
#include "irteq/validate.hpp"

namespace irteq {

// The theta tolerance of true score equating's root searches that the report
// has always used; it keeps every report and CSV file as it was.
inline constexpr double default_root_tolerance = 1e-6;

// How equate() runs. The results never depend on threads; root_tolerance
// sets how closely true score equating finds its thetas.
struct EquatingOptions {
  // Threads of one equating: the calling thread and threads - 1 more, started
  // by the call and joined before it returns (none outlives it, so a fork()
  // afterwards is safe). 1, the default, leaves the parallelism to callers
  // that run many equatings at once; values below 1 count as 1.
  int threads = 1;
  // Each root search (Brent's method) stops once half its bracket around the
  // theta is at most r * |theta| + root_tolerance / 2, r the relative term.
  // At the default, r is 6e-8 (the report's rule, twice single precision):
  // true score equivalents are then within about 1e-6 of the exact ones
  // (the error is the curve's slope times the theta's, up to 6e-5 on a
  // steep 150-item form). Below the default, r is 2 * DBL_EPSILON: 1e-14
  // brings the equivalents to within about 1e-12 (1e-12 leaves up to 3e-11
  // on steep forms), for a third more evaluations of the test
  // characteristic function. Accepted: a finite number above 0 and at most
  // the default (validate_root_tolerance throws Error otherwise); a looser
  // root would save a few evaluations at the cost of digits the report prints.
  double root_tolerance = default_root_tolerance;
};

// Equates form X to form Y by IRT true score and observed score equating.
// Checks the input first and throws Error on anything it cannot use. Pure:
// no I/O and no shared state, so it may run on several threads at once; it
// sets round-to-nearest with masked exceptions for the run and restores the
// caller's floating-point mode afterwards. The results are the same to the
// last bit whatever options.threads is.
EquatingResult equate(const EquatingInput& input, const EquatingOptions& options = {});

}  // namespace irteq
