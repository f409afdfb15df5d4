// The standard deviation by two passes (the mean first, then the squared
// deviations from it), each summed in draw order, which keeps the sum the
// same on every thread count and loses no digits to cancellation.
#include "standard_errors/draw_spread.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/type7_quantile.hpp"

namespace irteq {

DrawSpread draw_spread(std::span<const double> values, std::vector<double>& sorted) {
  const std::size_t n = values.size();
  DrawSpread spread;
  double sum = 0.0;
  for (const double value : values) sum += value;
  const double mean = sum / static_cast<double>(n);
  double squares = 0.0;
  for (const double value : values) squares += (value - mean) * (value - mean);
  spread.sd = n > 1 ? std::sqrt(squares / static_cast<double>(n - 1)) : std::numeric_limits<double>::quiet_NaN();
  sorted.assign(values.begin(), values.end());
  std::sort(sorted.begin(), sorted.end());
  spread.lower = type7_quantile(sorted, 0.025);
  spread.upper = type7_quantile(sorted, 0.975);
  return spread;
}

}  // namespace irteq
