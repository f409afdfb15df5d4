#pragma once

#include <span>
#include <string>

namespace irteq {

// What would make a quadrature grid unusable; empty strings when it passes.

// A weight is a share of the group: a negative one would give negative probabilities.
std::string weight_problem(double weight);
// The weights are divided by their sum, which must be finite and not zero.
std::string weight_sum_problem(std::span<const double> weights);
// "more than 100 quadrature points; a grid holds at most 100"
std::string too_many_points_message();

}  // namespace irteq
