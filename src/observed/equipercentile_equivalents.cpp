#include "observed/equipercentile_equivalents.hpp"

#include <array>

#include "common/limits.hpp"

namespace irteq {

namespace {

constexpr double zero_probability = 1e-8;

void adjust_zero_probabilities(ScoreDistribution& distribution) {
  const int n = distribution.point_count;
  bool adjust = false;
  for (int i = 0; i < n; ++i) {
    const double f = distribution.probabilities[static_cast<std::size_t>(i)];
    if (f < zero_probability || f != f) adjust = true;
  }
  if (!adjust) return;
  const double divisor = static_cast<double>(n) * zero_probability + 1.0;
  for (int i = 0; i < n; ++i) {
    double& f = distribution.probabilities[static_cast<std::size_t>(i)];
    f = (f + zero_probability) / divisor;
  }
}

void cumulate(const ScoreDistribution& distribution, std::span<double> cumulative) {
  double sum = 0.0;
  for (int i = 0; i < distribution.point_count; ++i) {
    sum = i == 0 ? distribution.probabilities[0] : sum + distribution.probabilities[static_cast<std::size_t>(i)];
    cumulative[static_cast<std::size_t>(i)] = sum;
  }
}

}  // namespace

void equipercentile_equivalents(ScoreDistribution& synthetic_x, ScoreDistribution& synthetic_y,
                                std::span<double> equivalents) {
  constexpr double top_rank = 0.999999999;
  adjust_zero_probabilities(synthetic_x);
  adjust_zero_probabilities(synthetic_y);
  std::array<double, max_score_points> cumulative_x;
  std::array<double, max_score_points> cumulative_y;
  cumulate(synthetic_x, cumulative_x);
  cumulate(synthetic_y, cumulative_y);

  const int ny = synthetic_y.point_count;
  const double y_first = synthetic_y.raw_scores[0];
  const double top_equivalent = (synthetic_y.raw_scores[static_cast<std::size_t>(ny - 1)] + 0.5) - 1e-8;
  for (int i = 0; i < synthetic_x.point_count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const double rank = i == 0 ? synthetic_x.probabilities[0] / 2.0
                               : cumulative_x[at - 1] + synthetic_x.probabilities[at] / 2.0;
    if (rank >= top_rank || rank != rank) {
      equivalents[at] = top_equivalent;
      continue;
    }
    int j = 0;
    while (j < ny && !(cumulative_y[static_cast<std::size_t>(j)] > rank)) ++j;
    if (j == ny) {
      // Only distributions that do not sum to 1 get here.
      equivalents[at] = top_equivalent;
    } else if (j == 0) {
      equivalents[at] = rank / cumulative_y[0] + y_first - 0.5;
    } else {
      const auto yj = static_cast<std::size_t>(j);
      equivalents[at] = (rank - cumulative_y[yj - 1]) / (cumulative_y[yj] - cumulative_y[yj - 1]) +
                        synthetic_y.raw_scores[yj] - 0.5;
    }
  }
}

}  // namespace irteq
