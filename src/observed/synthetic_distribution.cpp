#include "observed/synthetic_distribution.hpp"

namespace irteq {

ScoreDistribution synthetic_distribution(const ScoreDistribution& group1, const ScoreDistribution& group2, double w2) {
  const double w1 = 1.0 - w2;
  ScoreDistribution result;
  result.raw_scores = group1.raw_scores;
  result.probabilities.resize(group1.point_count());
  for (std::size_t i = 0; i < group1.point_count(); ++i) {
    result.probabilities[i] = w1 * group1.probabilities[i] + w2 * group2.probabilities[i];
  }
  return result;
}

}  // namespace irteq
