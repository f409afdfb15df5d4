#include "models/normalised_grid.hpp"

namespace irteq {

QuadratureGrid normalised_grid(const QuadratureGrid& grid) {
  QuadratureGrid normalised = grid;
  double sum = 0.0;
  for (const double weight : grid.weights) sum += weight;
  for (double& weight : normalised.weights) weight /= sum;
  return normalised;
}

}  // namespace irteq
