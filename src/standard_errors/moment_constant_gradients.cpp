// The moment methods differentiated in closed form: A = mean(a_X) / mean(a_Y)
// or sd(b_Y) / sd(b_X), B = mean(b_Y) - A mean(b_X), over exactly the slopes
// and locations moment_constants pools, each a parameter or, for an "MU"
// step b - d(k), the difference of two.
#include "standard_errors/moment_constant_gradients.hpp"

#include "linking/moment_constants.hpp"

#include <vector>

namespace irteq {

namespace {

// The item's slopes and locations as moment_constants pools them, each
// rising and falling with columns of the layout; first is the item's first column.
void add_pooled(const Item& item, std::size_t first, std::vector<MomentTerm>& slopes,
                std::vector<MomentTerm>& locations) {
  const std::size_t slopes_before = slopes.size();
  const std::size_t locations_before = locations.size();
  add_moment_terms(item, slopes, locations);
  const std::size_t estimated = first_estimated_parameter(item.model);
  const auto to_columns = [&](MomentTerm& term) {
    term.plus = first + term.plus - estimated;
    if (term.minus != no_parameter) term.minus = first + term.minus - estimated;
  };
  for (std::size_t k = slopes_before; k < slopes.size(); ++k) to_columns(slopes[k]);
  for (std::size_t k = locations_before; k < locations.size(); ++k) to_columns(locations[k]);
}

void add(Gradients& g, std::size_t row, const MomentTerm& v, double coefficient) {
  g.at(row, v.plus) += coefficient;
  if (v.minus != no_parameter) g.at(row, v.minus) -= coefficient;
}

}  // namespace

Gradients moment_constant_gradients(const EquatingInput& forms, std::span<const CommonItemPositions> common,
                                    const MethodConstants& constants, const ParameterLayout& layout) {
  std::vector<MomentTerm> slopes_x;
  std::vector<MomentTerm> slopes_y;
  std::vector<MomentTerm> locations_x;
  std::vector<MomentTerm> locations_y;
  for (const CommonItemPositions& pair : common) {
    add_pooled(forms.items_x[pair.x], layout.x_offsets[pair.x], slopes_x, locations_x);
    add_pooled(forms.items_y[pair.y], layout.y_offsets[pair.y], slopes_y, locations_y);
  }
  Gradients g(2, layout.columns());
  const double A = *constants.A;
  if (constants.method == LinkingMethod::mean_mean) {
    const double n_mean_y = static_cast<double>(slopes_y.size()) * mean(slopes_y);
    for (const MomentTerm& a : slopes_x) add(g, 0, a, 1.0 / n_mean_y);
    for (const MomentTerm& a : slopes_y) add(g, 0, a, -A / n_mean_y);
  } else {
    // d sd / d b_j = (b_j - mean) / (n sd)
    const auto n = static_cast<double>(locations_x.size());
    const double centre_x = mean(locations_x);
    const double centre_y = mean(locations_y);
    const double spread_x = standard_deviation(locations_x);
    const double spread_y = standard_deviation(locations_y);
    for (const MomentTerm& b : locations_x) add(g, 0, b, -A * (b.value - centre_x) / (n * spread_x * spread_x));
    for (const MomentTerm& b : locations_y) add(g, 0, b, (b.value - centre_y) / (n * spread_x * spread_y));
  }
  const double centre_x = mean(locations_x);
  for (std::size_t column = 0; column < g.columns; ++column) g.at(1, column) = -centre_x * g.at(0, column);
  const auto n = static_cast<double>(locations_x.size());
  for (const MomentTerm& b : locations_x) add(g, 1, b, -A / n);
  for (const MomentTerm& b : locations_y) add(g, 1, b, 1.0 / n);
  return g;
}

}  // namespace irteq
