#include "models/prepare_items.hpp"

#include "models/item_model_facts.hpp"
#include "models/mu_to_bn.hpp"

namespace irteq {

std::vector<Item> prepare_items(const std::vector<Item>& items) {
  std::vector<Item> prepared = items;
  for (Item& item : prepared) {
    if (model_facts(item.model).evaluated_as == item.model) continue;
    // "MU", the one model evaluated as another: held as the "BN" item it equals.
    const auto m = static_cast<int>(item.category_scores.size());
    // A one-category item has more values as "MU" (4) than as "BN" (3).
    const auto stored = static_cast<std::size_t>(parameter_count(ItemModel::bn, m));
    if (item.parameters.size() < stored) item.parameters.resize(stored);
    mu_to_bn(item.parameters, m);
    item.parameters.resize(stored);
    item.model = ItemModel::bn;
  }
  return prepared;
}

}  // namespace irteq
