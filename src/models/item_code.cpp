#include <array>
#include <utility>

#include "irteq/input.hpp"

namespace irteq {

namespace {

constexpr std::array<std::pair<std::string_view, ItemModel>, 5> codes{{
    {"L3", ItemModel::l3},
    {"SN", ItemModel::sn},
    {"BN", ItemModel::bn},
    {"MU", ItemModel::mu},
    {"SL", ItemModel::sl},
}};

}  // namespace

std::string_view item_code(ItemModel model) {
  for (const auto& [code, known] : codes) {
    if (known == model) return code;
  }
  return "??";
}

std::optional<ItemModel> item_model(std::string_view code) {
  for (const auto& [known, model] : codes) {
    if (known == code) return model;
  }
  return std::nullopt;
}

}  // namespace irteq
