#pragma once

#include <span>
#include <vector>

namespace irteq {

// Nearest whole number, halves away from zero (s + 0.5 formed in double
// before the integer part is taken); not clamped to the scale limits.
std::vector<double> round_scale_scores(std::span<const double> scale_equivalents);

}  // namespace irteq
