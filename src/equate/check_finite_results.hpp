#pragma once

#include "irteq/input.hpp"
#include "irteq/result.hpp"

namespace irteq {

// Inputs far beyond what the models can evaluate (slopes or abilities whose
// products overflow, a scale table near the double range) can make results
// that are not finite numbers. Such a run stops with an Error naming the
// result, the score point and the inputs behind it instead of reporting them.

// The four marginal and the two synthetic distributions.
void check_distributions_are_finite(const EquatingResult& result, const InputNames& names);

// Thetas, true and observed score equivalents, their scale and rounded scale scores.
void check_equivalents_are_finite(const EquatingResult& result, const InputNames& names);

}  // namespace irteq
