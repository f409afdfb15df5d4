// One run, from input to every result a front end shows: the root tolerance
// and the covariances checked first, so that a faulty one costs nothing (and
// a covariance given without standard errors is no less a mistake); then the
// linking, the equating of the linked form and the standard errors.
#include "irteq/run.hpp"

#include "standard_errors/standard_errors.hpp"

namespace irteq {

RunResult run(const RunInput& input, const RunOptions& options) {
  const StandardErrorOptions& errors = options.standard_errors;
  const bool standard_errors = errors.delta_method || errors.draws > 0;
  validate_root_tolerance(options.equating.root_tolerance);
  check_covariances(input.equating, options.covariances, standard_errors);
  RunResult result;
  if (input.linking) {
    result.linking = link(input.equating, *input.linking);
    result.equating = equate(linked_input(input.equating, *result.linking), options.equating);
  } else {
    result.equating = equate(input.equating, options.equating);
  }
  if (standard_errors) add_standard_errors(input, options, result);
  return result;
}

}  // namespace irteq
