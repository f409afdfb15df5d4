#include "observed/marginal_score_distribution.hpp"

#include <vector>

#include "common/score_range.hpp"
#include "observed/conditional_score_distribution.hpp"

namespace irteq {

ScoreDistribution marginal_score_distribution(std::span<const Item> items, const QuadratureGrid& grid) {
  ScoreDistribution result;
  result.raw_scores = score_points(score_range(items));
  const std::size_t n = result.point_count();
  result.probabilities.assign(n, 0.0);
  std::vector<double> conditional(n);
  std::vector<double> scratch(n);
  for (std::size_t j = 0; j < grid.points.size(); ++j) {
    conditional_score_distribution(grid.points[j], items, conditional, scratch);
    const double weight = grid.weights[j];
    for (std::size_t i = 0; i < n; ++i) result.probabilities[i] += weight * conditional[i];
  }
  double sum = 0.0;
  for (std::size_t i = 0; i < n; ++i) sum += result.probabilities[i];
  for (std::size_t i = 0; i < n; ++i) result.probabilities[i] /= sum;
  return result;
}

}  // namespace irteq
