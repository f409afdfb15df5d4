#pragma once

#include "irteq/run.hpp"

namespace irteq {

// Both forms' covariances checked for standard errors, before anything is
// computed: at least one given, each fitting its form (validate_covariance).
void check_covariances(const EquatingInput& forms, const ParameterCovariances& covariances);

// The standard errors options asks for, of a run's results: result holds
// what run() computed for input (the linking when it links, the equating);
// result.standard_errors is set, and every linking method's se_A and se_B
// when the delta method runs. The covariances must have passed check_covariances.
void add_standard_errors(const RunInput& input, const ParameterCovariances& covariances,
                         const StandardErrorOptions& options, RunResult& result);

}  // namespace irteq
