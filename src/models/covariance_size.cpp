#include "irteq/covariance.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

std::size_t covariance_size(const std::vector<Item>& items) {
  std::size_t size = 0;
  for (const Item& item : items) size += estimated_parameter_count(item);
  return size;
}

}  // namespace irteq
