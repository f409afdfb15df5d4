#pragma once

#include <span>

namespace irteq {

// The p quantile of values sorted ascending, by R's default, type 7 (Hyndman
// and Fan, 1996, definition 7): with h = (n - 1) p, the order statistics
// j = floor(h) and j + 1 (from 0) interpolated, (1 - g) x(j) + g x(j + 1),
// g = h - j. Not a number when there are no values.
double type7_quantile(std::span<const double> sorted, double p);

}  // namespace irteq
