#pragma once

#include <span>

namespace irteq {

// Nominal response: parameters D, a(1), ..., a(m), c(1), ..., c(m).
// p(k) = exp(D*(a(k)*theta + c(k))) / sum over all categories.
void bn_probabilities(int m, double theta, std::span<const double> parameters, std::span<double> p);

}  // namespace irteq
