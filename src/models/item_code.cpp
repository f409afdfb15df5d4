#include "irteq/input.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

std::string_view item_code(ItemModel model) { return known_model(model) ? model_facts(model).code : "??"; }

std::optional<ItemModel> item_model(std::string_view code) {
  for (const ItemModelFacts& facts : item_model_table) {
    if (facts.code == code) return facts.model;
  }
  return std::nullopt;
}

}  // namespace irteq
