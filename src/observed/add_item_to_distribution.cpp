#include "observed/add_item_to_distribution.hpp"

#include <algorithm>

namespace irteq {

void add_item_to_distribution(std::span<const double> previous, std::span<const int> item_scores,
                              std::span<const double> item_probabilities, std::span<double> next) {
  const std::size_t previous_count = previous.size();
  const int first_score = item_scores.front();
  const std::size_t next_count = previous_count + static_cast<std::size_t>(item_scores.back() - first_score);
  std::fill(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(next_count), 0.0);
  const double* __restrict in = previous.data();
  // Category by category over all score points: every point still receives
  // its terms in category order, and the inner loop runs over contiguous memory.
  for (std::size_t k = 0; k < item_scores.size(); ++k) {
    const double p = item_probabilities[k];
    double* __restrict out = next.data() + (item_scores[k] - first_score);
    for (std::size_t j = 0; j < previous_count; ++j) out[j] += in[j] * p;
  }
}

}  // namespace irteq
