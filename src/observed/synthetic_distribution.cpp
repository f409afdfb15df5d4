#include "observed/synthetic_distribution.hpp"

#include <algorithm>

namespace irteq {

void synthetic_distribution(const ScoreDistribution& group1, const ScoreDistribution& group2, double w2,
                            ScoreDistribution& result) {
  const double w1 = 1.0 - w2;
  result.point_count = group1.point_count;
  std::copy_n(group1.raw_scores.begin(), group1.point_count, result.raw_scores.begin());
  for (int i = 0; i < group1.point_count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    result.probabilities[at] = w1 * group1.probabilities[at] + w2 * group2.probabilities[at];
  }
}

}  // namespace irteq
