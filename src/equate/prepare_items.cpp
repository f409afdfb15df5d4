#include "equate/prepare_items.hpp"

#include "models/mu_to_bn.hpp"


namespace irteq {

std::vector<Item> prepare_items(const std::vector<Item>& items) {
  std::vector<Item> prepared = items;
  for (Item& item : prepared) {
    if (item.model != ItemModel::mu) continue;
    const auto m = static_cast<int>(item.category_scores.size());
    // A one-category item has more values as "MU" (4) than as "BN" (3).
    const auto stored = static_cast<std::size_t>(2 * m + 1);
    if (item.parameters.size() < stored) item.parameters.resize(stored);
    mu_to_bn(item.parameters, m);
    item.parameters.resize(stored);
    item.model = ItemModel::bn;
  }
  return prepared;
}

}  // namespace irteq
