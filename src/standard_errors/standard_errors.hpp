#pragma once

#include "irteq/run.hpp"

namespace irteq {

// The forms' covariances checked before anything is computed: each one
// given fitting its form (validate_covariance), and at least one given when
// standard errors need them.
void check_covariances(const EquatingInput& forms, const ParameterCovariances& covariances, bool needed);

// Both forms' covariances with c itself on the "L3" c rows
// (probability_metric, irteq/covariance.hpp): what the delta method and the
// Wald tests take; only the parametric draws draw in the logit metric.
ParameterCovariances probability_metric(const ParameterCovariances& covariances, const EquatingInput& forms);

// The standard errors options.standard_errors asks for, of a run's results:
// result holds what run() computed for input with options (the linking when
// it links, the equating); result.standard_errors is set, and every linking
// method's se_A and se_B when the delta method runs. The draws are equated
// with the run's root tolerance. options.covariances must have passed
// check_covariances.
void add_standard_errors(const RunInput& input, const RunOptions& options, RunResult& result);

}  // namespace irteq
