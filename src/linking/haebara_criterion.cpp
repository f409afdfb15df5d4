// Haebara's criterion: the weighted sum of squared differences between each
// common item's form Y category curves and its transformed form X curves,
// every category of an item but an "L3" item's, whose correct response alone
// is compared (as plink does). Symmetric: plus the same on form X's scale.
#include <array>

#include "irteq/limits.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "linking/criterion_terms.hpp"
#include "models/category_derivatives.hpp"
#include "models/category_probabilities.hpp"

namespace irteq {

namespace {

// Adds one scale's part: at each point, `fixed` items as they are against
// `moved` items at the transformed ability.
void add_scale_part(CriterionValue& sum, const std::vector<Item>& fixed, const std::vector<Item>& moved,
                    const QuadratureGrid& grid, auto transformed) {
  std::array<double, max_categories> p_fixed{};
  std::array<double, max_categories> p_moved{};
  std::array<double, max_categories> dp{};
  std::array<double, max_categories> d2p{};
  for (std::size_t q = 0; q < grid.points.size(); ++q) {
    const TransformedAbility at = transformed(grid.points[q]);
    for (std::size_t i = 0; i < fixed.size(); ++i) {
      category_probabilities(fixed[i], grid.points[q], p_fixed);
      category_probabilities(moved[i], at.xi, p_moved);
      category_derivatives(moved[i], at.xi, dp, d2p);
      const std::size_t m = fixed[i].category_scores.size();
      for (std::size_t k = fixed[i].model == ItemModel::l3 ? 1 : 0; k < m; ++k) {
        add_squared_difference(sum, grid.weights[q], p_fixed[k] - p_moved[k], dp[k], d2p[k], at);
      }
    }
  }
}

}  // namespace

CriterionValue haebara_criterion(const CriterionSetup& setup, double A, double B) {
  CriterionValue sum;
  add_scale_part(sum, setup.y, setup.x, setup.y_scale, [&](double theta) { return onto_form_x(theta, A, B); });
  if (setup.symmetric) {
    add_scale_part(sum, setup.x, setup.y, setup.x_scale, [&](double theta) { return onto_form_y(theta, A, B); });
  }
  return sum;
}

}  // namespace irteq
