#pragma once

#include <span>
#include <vector>

#include "irteq/standard_errors.hpp"

namespace irteq {

// The spread of one result over the draws, values in draw order: sd with
// divisor R - 1 (not a number for fewer than two draws), the type 7
// quantiles at 0.025 and 0.975. sorted is a buffer, reused between calls.
DrawSpread draw_spread(std::span<const double> values, std::vector<double>& sorted);

}  // namespace irteq
