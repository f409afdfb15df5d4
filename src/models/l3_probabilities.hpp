#pragma once

#include <span>

namespace irteq {

// Three-parameter logistic item: p[0] incorrect, p[1] correct. The logit
// D*a*(theta - b) is limited to [-99, 99].
void l3_probabilities(double theta, double d, double a, double b, double c, std::span<double> p);

}  // namespace irteq
