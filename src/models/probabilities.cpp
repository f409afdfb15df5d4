#include <vector>

#include "common/floating_point_mode.hpp"
#include "models/prepare_items.hpp"
#include "irteq/validate.hpp"
#include "irteq/models.hpp"
#include "models/category_probabilities.hpp"

namespace irteq {

std::vector<double> probabilities(const Item& item, double theta, const std::string& name) {
  const FloatingPointMode mode;
  const std::vector<Item> one{item};
  validate_items(one, name);
  const std::vector<Item> prepared = prepare_items(one);
  std::vector<double> p(item.category_scores.size());
  category_probabilities(prepared.front(), theta, p);
  return p;
}

}  // namespace irteq
