#pragma once

#include <span>

#include "irteq/result.hpp"

namespace irteq {

// Mean, standard deviation (total weight as divisor), skewness and kurtosis
// of values under non-negative weights that need not be normalised. A zero
// standard deviation leaves skewness and kurtosis not a number.
Moments score_moments(std::span<const double> values, std::span<const double> weights);

}  // namespace irteq
