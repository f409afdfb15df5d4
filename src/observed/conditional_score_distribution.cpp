#include "observed/conditional_score_distribution.hpp"

#include <array>
#include <span>
#include <utility>

#include "models/category_probabilities.hpp"
#include "observed/add_item_to_distribution.hpp"

namespace irteq {

void conditional_score_distribution(double theta, const ItemSet& items, ScoreDistribution& result) {
  std::array<double, max_categories> p;
  std::array<double, max_score_points> scratch;
  // The two buffers take turns as the distribution before and after each item;
  // the first item is added to the sure score 0, which places its
  // probabilities at its scores (summing categories that share one).
  double* current = scratch.data();
  double* next = result.probabilities.data();
  current[0] = 1.0;
  std::size_t count = 1;
  long long lowest = 0;
  for (int i = 0; i < items.item_count; ++i) {
    const Item& item = items.items[static_cast<std::size_t>(i)];
    const auto m = static_cast<std::size_t>(item.category_count);
    category_probabilities(item, theta, p);
    const std::span<const int> scores(item.category_scores.data(), m);
    add_item_to_distribution(std::span<const double>(current, count), scores, std::span<const double>(p.data(), m),
                             std::span<double>(next, max_score_points));
    count += static_cast<std::size_t>(scores.back() - scores.front());
    lowest += scores.front();
    std::swap(current, next);
  }
  if (current != result.probabilities.data()) std::copy(current, current + count, result.probabilities.data());
  result.point_count = static_cast<int>(count);
  for (std::size_t i = 0; i < count; ++i) result.raw_scores[i] = static_cast<double>(lowest + static_cast<long long>(i));
}

}  // namespace irteq
