#include "models/test_characteristic_function.hpp"

#include <array>

#include "irteq/limits.hpp"
#include "models/category_probabilities.hpp"

namespace irteq {

double test_characteristic_function(std::span<const Item> items, double theta) {
  std::array<double, max_categories> p;  // filled per item, never read beyond its categories
  double sum = 0.0;
  for (const Item& item : items) {
    category_probabilities(item, theta, p);
    const std::size_t m = item.category_scores.size();
    for (std::size_t k = 0; k < m; ++k) sum += static_cast<double>(item.category_scores[k]) * p[k];
  }
  return sum;
}

}  // namespace irteq
