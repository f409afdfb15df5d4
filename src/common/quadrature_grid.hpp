#pragma once

#include <array>

#include "common/limits.hpp"

namespace irteq {

// One group's ability distribution; the weights are normalised to sum to 1.
struct QuadratureGrid {
  int count = 0;
  std::array<double, max_quadrature_points> points{};
  std::array<double, max_quadrature_points> weights{};
};

}  // namespace irteq
