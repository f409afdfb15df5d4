#include "models/mu_to_bn.hpp"

#include <array>

#include "irteq/limits.hpp"

namespace irteq {

void mu_to_bn(std::span<double> parameters, int m) {
  const double a = parameters[1];
  const double b = parameters[2];
  std::array<double, max_parameters> steps{};
  for (int k = 0; k < m; ++k) steps[static_cast<std::size_t>(k)] = parameters[static_cast<std::size_t>(3 + k)];
  double running_sum = 0.0;
  for (int k = 1; k <= m; ++k) {
    running_sum = running_sum + a * steps[static_cast<std::size_t>(k - 1)];
    parameters[static_cast<std::size_t>(k)] = k * a;
    parameters[static_cast<std::size_t>(m + k)] = running_sum - k * a * b;
  }
}

}  // namespace irteq
