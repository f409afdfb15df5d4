#include "observed/marginal_score_distribution.hpp"

#include <vector>

#include "common/score_range.hpp"
#include "observed/conditional_score_distribution.hpp"

namespace irteq {

namespace {

void add_weighted(std::vector<double>& sum, double weight, std::span<const double> conditional) {
  for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += weight * conditional[i];
}

void normalise(std::vector<double>& probabilities) {
  double sum = 0.0;
  for (std::size_t i = 0; i < probabilities.size(); ++i) sum += probabilities[i];
  for (std::size_t i = 0; i < probabilities.size(); ++i) probabilities[i] /= sum;
}

}  // namespace

ScoreDistribution marginal_score_distribution(std::span<const Item> items, const QuadratureGrid& grid) {
  ScoreDistribution result;
  result.raw_scores = score_points(score_range(items));
  const std::size_t n = result.point_count();
  result.probabilities.assign(n, 0.0);
  std::vector<double> conditional(n);
  std::vector<double> scratch(n);
  for (std::size_t j = 0; j < grid.points.size(); ++j) {
    conditional_score_distribution(grid.points[j], items, conditional, scratch);
    add_weighted(result.probabilities, grid.weights[j], conditional);
  }
  normalise(result.probabilities);
  return result;
}

ScoreDistribution marginal_from_conditionals(std::span<const Item> items, const QuadratureGrid& grid,
                                             std::span<const double> conditionals) {
  ScoreDistribution result;
  result.raw_scores = score_points(score_range(items));
  const std::size_t n = result.point_count();
  result.probabilities.assign(n, 0.0);
  for (std::size_t j = 0; j < grid.points.size(); ++j) {
    add_weighted(result.probabilities, grid.weights[j], conditionals.subspan(j * n, n));
  }
  normalise(result.probabilities);
  return result;
}

}  // namespace irteq
