#include "irteq/linking.hpp"

namespace irteq {

EquatingInput linked_input(EquatingInput input, const LinkingResult& linking) {
  input.items_x = linking.items_x;
  input.grid_group1 = linking.grid_group1;
  return input;
}

}  // namespace irteq
