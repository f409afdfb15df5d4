#pragma once

#include "driver/run_data.hpp"

namespace irteq {

// Inputs far beyond what the models can evaluate (slopes or abilities whose
// products overflow, a huge w2, a scale table near the double range) can make
// results that are not finite numbers. Such a run stops with a message naming
// the result and the files behind it instead of reporting them.

// The four marginal and the two synthetic distributions.
void check_distributions_are_finite(const RunData& run);

// Thetas, true and observed score equivalents, their scale and rounded scale scores.
void check_equivalents_are_finite(const RunData& run);

}  // namespace irteq
