// The fixed side of each criterion does not move with A and B: computed once
// per linking, it halves the work of every Newton step.
#include <array>

#include "irteq/limits.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "models/category_probabilities.hpp"

namespace irteq {

namespace {

std::vector<double> fixed_probabilities(const std::vector<Item>& items, const QuadratureGrid& grid,
                                        const std::vector<std::size_t>& first, std::size_t categories) {
  std::vector<double> rows(grid.points.size() * categories);
  for (std::size_t q = 0; q < grid.points.size(); ++q) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      category_probabilities(items[i], grid.points[q], std::span(rows).subspan(q * categories + first[i]));
    }
  }
  return rows;
}

}  // namespace

CriterionSetup criterion_setup(std::vector<Item> x, std::vector<Item> y, QuadratureGrid y_scale,
                               QuadratureGrid x_scale, bool symmetric) {
  CriterionSetup setup{std::move(x), std::move(y), std::move(y_scale), std::move(x_scale), symmetric, {}, 0, {}, {}};
  for (const Item& item : setup.y) {
    setup.first_category.push_back(setup.categories);
    setup.categories += item.category_scores.size();
  }
  setup.y_fixed = fixed_probabilities(setup.y, setup.y_scale, setup.first_category, setup.categories);
  if (symmetric) setup.x_fixed = fixed_probabilities(setup.x, setup.x_scale, setup.first_category, setup.categories);
  return setup;
}

}  // namespace irteq
