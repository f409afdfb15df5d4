#include "small_input.hpp"

namespace irteq::fuzzing {

EquatingInput small_input() {
  const Item item{.number = 1, .model = ItemModel::l3, .category_scores = {0, 1}, .parameters = {1.7, 1.0, 0.0, 0.2}};
  const QuadratureGrid grid{.points = {0.0}, .weights = {1.0}};
  EquatingInput input;
  input.items_x = {item};
  input.items_y = {item};
  input.grid_group1 = grid;
  input.grid_group2 = grid;
  input.scale_table = {.scale_min = 0, .scale_max = 1, .raw = {0.0, 1.0}, .scale = {0.0, 1.0}, .rounded = {0.0, 1.0}};
  return input;
}

ReadOptions dropped_output() {
  return {.echo = [](std::string_view) {}, .warning = [](std::string_view) {}};
}

}  // namespace irteq::fuzzing
