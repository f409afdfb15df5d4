// The branches of the equipercentile step, retraced with the same sums,
// comparisons and differences as equipercentile_equivalents.
#include "standard_errors/equipercentile_steps.hpp"

#include "observed/cumulative_probabilities.hpp"

namespace irteq {

std::vector<EquipercentileStep> equipercentile_steps(std::span<const double> synthetic_x,
                                                     std::span<const double> synthetic_y) {
  constexpr double top_rank = 0.999999999;
  const std::vector<double> cumulative_x = cumulative_probabilities(synthetic_x);
  const std::vector<double> cumulative_y = cumulative_probabilities(synthetic_y);
  const std::size_t ny = synthetic_y.size();
  std::vector<EquipercentileStep> steps(synthetic_x.size());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    EquipercentileStep& step = steps[i];
    const double rank = i == 0 ? synthetic_x[0] / 2.0 : cumulative_x[i - 1] + synthetic_x[i] / 2.0;
    if (rank >= top_rank || rank != rank) continue;
    std::size_t j = 0;
    while (j < ny && !(cumulative_y[j] > rank)) ++j;
    if (j == ny) continue;
    step.constant = false;
    step.j = j;
    step.rank = rank;
    step.lower = j == 0 ? 0.0 : cumulative_y[j - 1];
    step.width = j == 0 ? cumulative_y[0] : cumulative_y[j] - cumulative_y[j - 1];
  }
  return steps;
}

}  // namespace irteq
