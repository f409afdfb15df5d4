#pragma once

#include <optional>

#include "irteq/standard_errors.hpp"

namespace irteq {

// Fills the delta-method fields of out: every available linking method's
// standard errors of A and B, and the equivalents' on both metrics, their
// gradients carried through the applied linking's constants.
void delta_method(const RunInput& run, const std::optional<LinkingResult>& linking, const EquatingResult& result,
                  const ParameterCovariances& covariances, int threads, StandardErrors& out);

}  // namespace irteq
