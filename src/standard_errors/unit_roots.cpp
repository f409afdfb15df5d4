// Roots of unity for the discrete Fourier transforms of score distributions,
// from std::cos and std::sin over the first octant and the circle's symmetries.
#include "standard_errors/unit_roots.hpp"

#include <cmath>
#include <numbers>

namespace irteq {

std::vector<std::complex<double>> unit_roots(std::size_t n) {
  const std::size_t quarter = n / 4;
  const auto angle = [n](std::size_t k) {
    return 2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
  };
  std::vector<std::complex<double>> roots(n);
  for (std::size_t k = 0; k < n; ++k) {
    // cos and sin of 2 pi r / n within the quarter, then turned by whole quarters.
    const std::size_t r = k % quarter;
    double c = 0.0;
    double s = 0.0;
    if (2 * r <= quarter) {
      c = std::cos(angle(r));
      s = std::sin(angle(r));
    } else {
      c = std::sin(angle(quarter - r));
      s = std::cos(angle(quarter - r));
    }
    switch (k / quarter) {
      case 0: roots[k] = {c, -s}; break;
      case 1: roots[k] = {-s, -c}; break;
      case 2: roots[k] = {-c, s}; break;
      default: roots[k] = {s, c}; break;
    }
  }
  return roots;
}

}  // namespace irteq
