#pragma once

#include <span>

namespace irteq {

// Nearest whole number, halves away from zero (s + 0.5 formed in double
// before the integer part is taken); not clamped to the scale limits.
void round_scale_scores(std::span<const double> scale_equivalents, std::span<double> rounded);

}  // namespace irteq
