#include "observed/marginal_score_distribution.hpp"

#include <algorithm>

#include "observed/conditional_score_distribution.hpp"

namespace irteq {

void marginal_score_distribution(const ItemSet& items, const QuadratureGrid& grid, ScoreDistribution& result) {
  ScoreDistribution conditional;
  std::fill(result.probabilities.begin(), result.probabilities.end(), 0.0);
  for (int j = 0; j < grid.count; ++j) {
    conditional_score_distribution(grid.points[static_cast<std::size_t>(j)], items, conditional);
    const double weight = grid.weights[static_cast<std::size_t>(j)];
    for (int i = 0; i < conditional.point_count; ++i) {
      result.probabilities[static_cast<std::size_t>(i)] += weight * conditional.probabilities[static_cast<std::size_t>(i)];
    }
  }
  result.point_count = conditional.point_count;
  std::copy_n(conditional.raw_scores.begin(), conditional.point_count, result.raw_scores.begin());
  double sum = 0.0;
  for (int i = 0; i < result.point_count; ++i) sum += result.probabilities[static_cast<std::size_t>(i)];
  for (int i = 0; i < result.point_count; ++i) result.probabilities[static_cast<std::size_t>(i)] /= sum;
}

}  // namespace irteq
