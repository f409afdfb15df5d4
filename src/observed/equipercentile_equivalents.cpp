#include "observed/equipercentile_equivalents.hpp"

#include "observed/cumulative_probabilities.hpp"

namespace irteq {

std::vector<double> equipercentile_equivalents(std::span<const double> synthetic_x, std::span<const double> synthetic_y,
                                               std::span<const double> y_raw_scores) {
  constexpr double top_rank = 0.999999999;
  const std::vector<double> cumulative_x = cumulative_probabilities(synthetic_x);
  const std::vector<double> cumulative_y = cumulative_probabilities(synthetic_y);

  const std::size_t ny = synthetic_y.size();
  const double y_first = y_raw_scores[0];
  const double top_equivalent = (y_raw_scores[ny - 1] + 0.5) - 1e-8;
  std::vector<double> equivalents(synthetic_x.size());
  for (std::size_t i = 0; i < equivalents.size(); ++i) {
    const double rank = i == 0 ? synthetic_x[0] / 2.0 : cumulative_x[i - 1] + synthetic_x[i] / 2.0;
    if (rank >= top_rank || rank != rank) {
      equivalents[i] = top_equivalent;
      continue;
    }
    std::size_t j = 0;
    while (j < ny && !(cumulative_y[j] > rank)) ++j;
    if (j == ny) {
      // Only distributions that do not sum to 1 get here.
      equivalents[i] = top_equivalent;
    } else if (j == 0) {
      equivalents[i] = rank / cumulative_y[0] + y_first - 0.5;
    } else {
      equivalents[i] = (rank - cumulative_y[j - 1]) / (cumulative_y[j] - cumulative_y[j - 1]) +
                       y_raw_scores[j] - 0.5;
    }
  }
  return equivalents;
}

}  // namespace irteq
