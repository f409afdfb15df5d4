// Type 7 sample quantiles, the definition R and S use by default, so that
// the draws' intervals are those a user gets from the drawn values in R.
// The position is worked out from 1, as R's documentation states it
// (j = floor(n p + 1 - p)), and a tie of the two order statistics gives
// their value exactly.
#include "common/type7_quantile.hpp"

#include <cmath>
#include <limits>

namespace irteq {

double type7_quantile(std::span<const double> sorted, double p) {
  const std::size_t n = sorted.size();
  if (n == 0) return std::numeric_limits<double>::quiet_NaN();
  const double position = 1.0 + static_cast<double>(n - 1) * p;  // from 1
  const double floor = std::floor(position);
  const double g = position - floor;
  const auto j = static_cast<std::size_t>(floor) - 1;
  if (j + 1 >= n) return sorted[n - 1];
  const double low = sorted[j];
  const double high = sorted[j + 1];
  if (g == 0.0 || low == high) return low;
  return (1.0 - g) * low + g * high;
}

}  // namespace irteq
