#include "models/sn_probabilities.hpp"

#include "models/normal_cdf.hpp"

namespace irteq {

void sn_probabilities(int m, double theta, std::span<const double> parameters, std::span<double> p) {
  const double a = parameters[0];
  double above_previous = 1.0;  // probability of category k or higher
  for (int k = 1; k < m; ++k) {
    const double above = normal_cdf((theta - parameters[static_cast<std::size_t>(k)]) * a);
    p[static_cast<std::size_t>(k - 1)] = above_previous - above;
    above_previous = above;
  }
  p[static_cast<std::size_t>(m - 1)] = above_previous;
}

}  // namespace irteq
