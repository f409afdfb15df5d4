// Conditional score distributions kept theta by theta, for the tables that
// are sums over them, and the moments of a score within one of them.
#include "tables/conditional_rows.hpp"

#include <cmath>

#include "common/score_range.hpp"
#include "observed/conditional_score_distributions.hpp"

namespace irteq {

ConditionalRows conditional_rows(std::span<const Item> prepared, std::span<const double> thetas) {
  ConditionalRows rows;
  rows.points = static_cast<std::size_t>(score_range(prepared).point_count());
  rows.values.assign(rows.points * thetas.size(), 0.0);
  conditional_score_distributions(thetas, prepared, rows.values);
  return rows;
}

double weighted_mean(std::span<const double> probabilities, std::span<const double> scores) {
  double mean = 0.0;
  for (std::size_t x = 0; x < probabilities.size(); ++x) mean += probabilities[x] * scores[x];
  return mean;
}

double weighted_variance(std::span<const double> probabilities, std::span<const double> scores) {
  const double mean = weighted_mean(probabilities, scores);
  double sum = 0.0;
  for (std::size_t x = 0; x < probabilities.size(); ++x) {
    const double d = scores[x] - mean;
    sum += probabilities[x] * d * d;
  }
  return sum;
}

double conditional_sd(std::span<const double> row, std::span<const double> scores) {
  return std::sqrt(weighted_variance(row, scores));
}

}  // namespace irteq
