#include <vector>

#include "common/floating_point_mode.hpp"
#include "models/prepare_items.hpp"
#include "irteq/validate.hpp"
#include "irteq/models.hpp"
#include "models/test_characteristic_function.hpp"

namespace irteq {

std::vector<double> test_characteristic_curve(const std::vector<Item>& items, std::span<const double> thetas,
                                              const std::string& name) {
  const FloatingPointMode mode;
  validate_items(items, name);
  const std::vector<Item> prepared = prepare_items(items);
  std::vector<double> curve;
  curve.reserve(thetas.size());
  for (const double theta : thetas) curve.push_back(test_characteristic_function(prepared, theta));
  return curve;
}

}  // namespace irteq
