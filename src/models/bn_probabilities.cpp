#include "models/bn_probabilities.hpp"

#include <cmath>
#include <limits>

namespace irteq {

void bn_probabilities(int m, double theta, std::span<const double> parameters, std::span<double> p) {
  const double d = parameters[0];
  const auto slope = [&](int k) { return parameters[static_cast<std::size_t>(1 + k)]; };
  const auto intercept = [&](int k) { return parameters[static_cast<std::size_t>(1 + m + k)]; };
  double sum = 0.0;
  for (int k = 0; k < m; ++k) {
    const double e = std::exp(d * (slope(k) * theta + intercept(k)));
    p[static_cast<std::size_t>(k)] = e;
    sum += e;
  }
  if (!(sum >= m * std::numeric_limits<double>::min() && sum <= std::numeric_limits<double>::max())) {
    // An exponent beyond the double range, or every exponent below about -708,
    // where the largest exponential may be a denormal with few digits left
    // (a sum under m times the smallest normal double): shift every exponent
    // by the largest so that the quotients stay finite and keep their ratios.
    // Elsewhere the direct form is kept.
    double largest = -std::numeric_limits<double>::infinity();
    for (int k = 0; k < m; ++k) largest = std::fmax(largest, d * (slope(k) * theta + intercept(k)));
    sum = 0.0;
    for (int k = 0; k < m; ++k) {
      const double e = std::exp(d * (slope(k) * theta + intercept(k)) - largest);
      p[static_cast<std::size_t>(k)] = e;
      sum += e;
    }
  }
  for (int k = 0; k < m; ++k) p[static_cast<std::size_t>(k)] = p[static_cast<std::size_t>(k)] / sum;
}

}  // namespace irteq
