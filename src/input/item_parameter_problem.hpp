#pragma once

#include <span>
#include <string>

#include "common/item_set.hpp"

namespace irteq {

// Why an item's parameters, as read, would give category probabilities
// outside [0, 1]: an "L3" lower asymptote outside [0, 1], or graded ("SN",
// "SL") thresholds that run against the sign of the slope. Empty when they
// are usable. Other codes are always usable.
std::string item_parameter_problem(const TypeCode& code, int m, std::span<const double> parameters);

}  // namespace irteq
