#include <vector>

#include "common/floating_point_mode.hpp"
#include "models/prepare_items.hpp"
#include "irteq/validate.hpp"
#include "irteq/models.hpp"
#include "models/test_characteristic_function.hpp"

namespace irteq {

// A one-item form's test characteristic function: the item's term as a form's sum adds it.
double expected_score(const Item& item, double theta, const std::string& name) {
  const FloatingPointMode mode;
  const std::vector<Item> one{item};
  validate_items(one, name);
  const std::vector<Item> prepared = prepare_items(one);
  return test_characteristic_function(prepared, theta);
}

}  // namespace irteq
