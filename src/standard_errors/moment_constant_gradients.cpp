// The moment methods differentiated in closed form: A = mean(a_X) / mean(a_Y)
// or sd(b_Y) / sd(b_X), B = mean(b_Y) - A mean(b_X), over exactly the slopes
// and locations moment_constants pools, each a parameter or, for an "MU"
// step b - d(k), the difference of two.
#include "standard_errors/moment_constant_gradients.hpp"

#include <cmath>
#include <cstdint>
#include <vector>

namespace irteq {

namespace {

constexpr std::size_t no_column = SIZE_MAX;

// A pooled slope or location: its value, the column it rises with and the
// column it falls with (an "MU" step's d(k)), if any.
struct Pooled {
  double value = 0.0;
  std::size_t plus = 0;
  std::size_t minus = no_column;
};

// As moment_constants pools them; first is the item's first column.
void add_pooled(const Item& item, std::size_t first, std::vector<Pooled>& slopes, std::vector<Pooled>& locations) {
  const std::vector<double>& q = item.parameters;
  switch (item.model) {
    case ItemModel::l3:  // D, a, b, c
      slopes.push_back({q[1], first});
      locations.push_back({q[2], first + 1});
      break;
    case ItemModel::sn:  // a, b(1..m-1): no D, so column k is value k
      slopes.push_back({q[0], first});
      for (std::size_t k = 1; k < q.size(); ++k) locations.push_back({q[k], first + k});
      break;
    case ItemModel::sl:  // D, a, b(1..m-1)
      slopes.push_back({q[1], first});
      for (std::size_t k = 2; k < q.size(); ++k) locations.push_back({q[k], first + k - 1});
      break;
    case ItemModel::mu:  // D, a, b, d(1..m); d(1) takes no part
      slopes.push_back({q[1], first});
      for (std::size_t k = 4; k < q.size(); ++k) locations.push_back({q[2] - q[k], first + 1, first + k - 1});
      break;
    case ItemModel::bn:
      break;
  }
}

double mean(const std::vector<Pooled>& values) {
  double sum = 0.0;
  for (const Pooled& v : values) sum += v.value;
  return sum / static_cast<double>(values.size());
}

double standard_deviation(const std::vector<Pooled>& values) {
  const double centre = mean(values);
  double sum = 0.0;
  for (const Pooled& v : values) sum += (v.value - centre) * (v.value - centre);
  return std::sqrt(sum / static_cast<double>(values.size()));
}

void add(Gradients& g, std::size_t row, const Pooled& v, double coefficient) {
  g.at(row, v.plus) += coefficient;
  if (v.minus != no_column) g.at(row, v.minus) -= coefficient;
}

}  // namespace

Gradients moment_constant_gradients(const LinkingInput& input, std::span<const CommonItemPositions> common,
                                    const MethodConstants& constants, const ParameterLayout& layout) {
  std::vector<Pooled> slopes_x;
  std::vector<Pooled> slopes_y;
  std::vector<Pooled> locations_x;
  std::vector<Pooled> locations_y;
  for (const CommonItemPositions& pair : common) {
    add_pooled(input.items_x[pair.x], layout.x_offsets[pair.x], slopes_x, locations_x);
    add_pooled(input.items_y[pair.y], layout.y_offsets[pair.y], slopes_y, locations_y);
  }
  Gradients g(2, layout.columns());
  const double A = constants.A;
  if (constants.method == LinkingMethod::mean_mean) {
    const double n_mean_y = static_cast<double>(slopes_y.size()) * mean(slopes_y);
    for (const Pooled& a : slopes_x) add(g, 0, a, 1.0 / n_mean_y);
    for (const Pooled& a : slopes_y) add(g, 0, a, -A / n_mean_y);
  } else {
    // d sd / d b_j = (b_j - mean) / (n sd)
    const auto n = static_cast<double>(locations_x.size());
    const double centre_x = mean(locations_x);
    const double centre_y = mean(locations_y);
    const double spread_x = standard_deviation(locations_x);
    const double spread_y = standard_deviation(locations_y);
    for (const Pooled& b : locations_x) add(g, 0, b, -A * (b.value - centre_x) / (n * spread_x * spread_x));
    for (const Pooled& b : locations_y) add(g, 0, b, (b.value - centre_y) / (n * spread_x * spread_y));
  }
  const double centre_x = mean(locations_x);
  for (std::size_t column = 0; column < g.columns; ++column) g.at(1, column) = -centre_x * g.at(0, column);
  const auto n = static_cast<double>(locations_x.size());
  for (const Pooled& b : locations_x) add(g, 1, b, -A / n);
  for (const Pooled& b : locations_y) add(g, 1, b, 1.0 / n);
  return g;
}

}  // namespace irteq
