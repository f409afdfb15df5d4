// Haebara's criterion: the weighted sum of squared differences between each
// common item's form Y category curves and its transformed form X curves,
// every category of an item but an "L3" item's, whose correct response alone
// is compared (as plink does). Symmetric: plus the same on form X's scale.
#include <array>

#include "irteq/limits.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "linking/criterion_terms.hpp"
#include "models/category_derivatives.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

namespace {

// Adds one scale's part: at each point, `fixed` items as they are against
// `moved` items at the transformed ability.
void add_scale_part(CriterionValue& sum, const CriterionSetup& setup, const std::vector<double>& fixed,
                    const std::vector<Item>& moved, const QuadratureGrid& grid, auto transformed) {
  std::array<double, max_categories> p{};
  std::array<double, max_categories> dp{};
  std::array<double, max_categories> d2p{};
  for (std::size_t q = 0; q < grid.points.size(); ++q) {
    const TransformedAbility at = transformed(grid.points[q]);
    const double* row = fixed.data() + q * setup.categories;
    for (std::size_t i = 0; i < moved.size(); ++i) {
      category_derivatives(moved[i], at.xi, p, dp, d2p);
      const double* p_fixed = row + setup.first_category[i];
      const std::size_t m = moved[i].category_scores.size();
      for (std::size_t k = model_facts(moved[i].model).first_compared_category; k < m; ++k) {
        add_squared_difference(sum, grid.weights[q], p_fixed[k] - p[k], dp[k], d2p[k], at);
      }
    }
  }
}

}  // namespace

CriterionValue haebara_criterion(const CriterionSetup& setup, double A, double B) {
  CriterionValue sum;
  add_scale_part(sum, setup, setup.y_fixed, setup.x, setup.y_scale, [&](double theta) { return onto_form_x(theta, A, B); });
  if (setup.symmetric) {
    add_scale_part(sum, setup, setup.x_fixed, setup.y, setup.x_scale, [&](double theta) { return onto_form_y(theta, A, B); });
  }
  return sum;
}

}  // namespace irteq
