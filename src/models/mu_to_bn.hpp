#pragma once

#include <span>

namespace irteq {

// Rewrites a generalized partial credit item's m+3 values D, a, b, d(1..m)
// into the 2m+1 values D, slope(1..m), intercept(1..m) of the equivalent
// nominal item, in place. The span must hold at least 2m+1 values.
void mu_to_bn(std::span<double> parameters, int m);

}  // namespace irteq
