#include "models/sl_probabilities.hpp"

#include <cmath>

namespace irteq {

void sl_probabilities(int m, double theta, std::span<const double> parameters, std::span<double> p) {
  const double slope = parameters[0] * parameters[1];
  double above_previous = 1.0;  // probability of category k or higher
  for (int k = 1; k < m; ++k) {
    const double z = slope * (theta - parameters[static_cast<std::size_t>(k + 1)]);
    const double above = 1.0 / (1.0 + std::exp(-z));
    p[static_cast<std::size_t>(k - 1)] = above_previous - above;
    above_previous = above;
  }
  p[static_cast<std::size_t>(m - 1)] = above_previous;
}

}  // namespace irteq
