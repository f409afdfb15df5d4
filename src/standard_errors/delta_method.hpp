#pragma once

#include "irteq/run.hpp"
#include "standard_errors/covariance_quadratic_form.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// Every available method's delta-method standard errors of A and B into
// linking.methods (se_A, se_B), from forms as read; returns the applied
// method's gradients, which carry the linking's error into the equivalents'.
Gradients linking_delta_method(const EquatingInput& forms, const LinkingInput& request, LinkingResult& linking,
                               const ParameterLayout& layout, const BlockCovariance& covariance);

// The delta method's standard errors of a run's results: every linking
// method's constants (when it links) and the equivalents on both metrics,
// their gradients carried through the applied linking's constants, into
// result.linking and result.standard_errors (which must be there).
void delta_method(const RunInput& input, const ParameterCovariances& covariances, int threads, RunResult& result);

}  // namespace irteq
