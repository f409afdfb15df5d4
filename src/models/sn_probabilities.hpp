#pragma once

#include <span>

namespace irteq {

// Graded response, normal ogive: parameters a, b(1), ..., b(m-1).
void sn_probabilities(int m, double theta, std::span<const double> parameters, std::span<double> p);

}  // namespace irteq
