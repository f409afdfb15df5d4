// A quadrature grid for a normal ability distribution N(mean, sd^2): points
// equally spaced from low to high, low + k (high - low) / (points - 1), the
// last exactly high; weights exp(-z^2 / 2), z = (theta - mean) / sd, divided
// by their sum taken from the lowest point up. The density's constant
// 1 / (sd sqrt(2 pi)) cancels in the division and is left out, so that R,
// Python and C++ callers get one grid to the last bit.
#include <cmath>
#include <string>

#include "common/number_text.hpp"
#include "irteq/error.hpp"
#include "irteq/limits.hpp"
#include "irteq/models.hpp"

namespace irteq {

namespace {

[[noreturn]] void refuse(const std::string& what) {
  throw Error("normal grid: " + what, {.code = ErrorCode::invalid_input, .source = "normal grid"});
}

}  // namespace

QuadratureGrid normal_grid(double mean, double sd, int points, double low, double high) {
  if (!std::isfinite(mean) || !std::isfinite(sd) || !(sd > 0.0)) {
    refuse("mean must be a finite number and sd a finite number above 0");
  }
  if (points < 2 || points > max_quadrature_points) {
    refuse("points is " + std::to_string(points) + "; a grid has 2 to " + std::to_string(max_quadrature_points) +
           " points");
  }
  if (!std::isfinite(low) || !std::isfinite(high) || !(low < high)) {
    refuse("range must be two finite numbers, the lowest point first");
  }
  QuadratureGrid grid;
  const double step = (high - low) / static_cast<double>(points - 1);
  double sum = 0.0;
  for (int k = 0; k < points; ++k) {
    const double theta = k + 1 == points ? high : low + static_cast<double>(k) * step;
    const double z = (theta - mean) / sd;
    const double weight = std::exp(-0.5 * z * z);
    grid.points.push_back(theta);
    grid.weights.push_back(weight);
    sum += weight;
  }
  if (!(sum > 0.0)) {
    refuse("the normal density is 0 at every point: the range lies too far from mean " + shortest_text(mean));
  }
  for (double& weight : grid.weights) weight /= sum;
  return grid;
}

}  // namespace irteq
