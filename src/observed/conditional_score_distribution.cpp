#include "observed/conditional_score_distribution.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "irteq/limits.hpp"
#include "models/category_probabilities.hpp"
#include "observed/add_item_to_distribution.hpp"

namespace irteq {

void conditional_score_distribution(double theta, std::span<const Item> items, std::span<double> probabilities,
                                    std::span<double> scratch) {
  std::array<double, max_categories> p;
  // The two buffers take turns as the distribution before and after each item;
  // the first item is added to the sure score 0, which places its
  // probabilities at its scores (summing categories that share one).
  std::span<double> current = scratch;
  std::span<double> next = probabilities;
  current[0] = 1.0;
  std::size_t count = 1;
  for (const Item& item : items) {
    const std::span<const int> scores(item.category_scores);
    category_probabilities(item, theta, p);
    add_item_to_distribution(current.first(count), scores, std::span<const double>(p.data(), scores.size()), next);
    count += static_cast<std::size_t>(scores.back() - scores.front());
    std::swap(current, next);
  }
  if (current.data() != probabilities.data()) std::copy_n(current.begin(), count, probabilities.begin());
}

}  // namespace irteq
