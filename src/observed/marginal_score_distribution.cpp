#include "observed/marginal_score_distribution.hpp"

#include <algorithm>
#include <vector>

#include "common/kernel_path.hpp"
#include "common/score_range.hpp"
#include "observed/conditional_score_distributions.hpp"

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
  // As many conditional distributions at a time as the recursion carries,
  // then added in grid order.
  const std::size_t lanes = kernel_lanes(kernel_path());
  std::vector<double> conditionals(lanes * n);
  const std::span<const double> thetas(grid.points);
  for (std::size_t first = 0; first < thetas.size(); first += lanes) {
    const std::size_t batch = std::min(lanes, thetas.size() - first);
    conditional_score_distributions(thetas.subspan(first, batch), items, conditionals);
    for (std::size_t t = 0; t < batch; ++t) {
      add_weighted(result.probabilities, grid.weights[first + t], std::span(conditionals).subspan(t * n, n));
    }
  }
  normalise(result.probabilities);
  return result;
}

}  // namespace irteq
