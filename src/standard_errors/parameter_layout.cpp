#include "models/parameter_derivatives.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

ParameterLayout parameter_layout(const std::vector<Item>& items_x, const std::vector<Item>& items_y) {
  ParameterLayout layout;
  for (const Item& item : items_x) {
    layout.x_offsets.push_back(layout.x_size);
    layout.x_size += estimated_parameter_count(item);
  }
  for (const Item& item : items_y) {
    layout.y_offsets.push_back(layout.x_size + layout.y_size);
    layout.y_size += estimated_parameter_count(item);
  }
  return layout;
}

}  // namespace irteq
