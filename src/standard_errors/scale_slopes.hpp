#pragma once

#include <span>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// d(scale score)/d(raw equivalent) of raw_to_scale at each equivalent: the
// slope of the segment it converts the equivalent on. At a knot that is the
// segment below it, the one raw_to_scale takes there (a one-sided slope).
std::vector<double> scale_slopes(std::span<const double> equivalents, std::span<const double> y_raw_scores,
                                 const ScaleTable& table);

}  // namespace irteq
