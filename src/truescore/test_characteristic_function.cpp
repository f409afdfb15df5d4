#include "truescore/test_characteristic_function.hpp"

#include <array>

#include "models/category_probabilities.hpp"

namespace irteq {

double test_characteristic_function(const ItemSet& items, double theta) {
  std::array<double, max_categories> p;  // filled per item, never read beyond its categories
  double sum = 0.0;
  for (int i = 0; i < items.item_count; ++i) {
    const Item& item = items.items[static_cast<std::size_t>(i)];
    category_probabilities(item, theta, p);
    for (int k = 0; k < item.category_count; ++k) {
      sum += static_cast<double>(item.category_scores[static_cast<std::size_t>(k)]) * p[static_cast<std::size_t>(k)];
    }
  }
  return sum;
}

}  // namespace irteq
