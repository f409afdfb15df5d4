#pragma once

#include <span>

namespace irteq {

// Graded response, logistic: parameters D, a, b(1), ..., b(m-1). The logits
// are not limited.
void sl_probabilities(int m, double theta, std::span<const double> parameters, std::span<double> p);

}  // namespace irteq
