// The Stocking-Lord criterion: the weighted sum of squared differences
// between the common items' form Y test characteristic curve and their
// transformed form X curve, each category weighted by its own score.
// Symmetric: plus the same on form X's scale.
#include <array>

#include "irteq/limits.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "linking/criterion_terms.hpp"
#include "models/category_derivatives.hpp"

namespace irteq {

namespace {

void add_scale_part(CriterionValue& sum, const CriterionSetup& setup, const std::vector<double>& fixed,
                    const std::vector<Item>& moved, const QuadratureGrid& grid, auto transformed) {
  std::array<double, max_categories> p{};
  std::array<double, max_categories> dp{};
  std::array<double, max_categories> d2p{};
  for (std::size_t q = 0; q < grid.points.size(); ++q) {
    const TransformedAbility at = transformed(grid.points[q]);
    const double* row = fixed.data() + q * setup.categories;
    double difference = 0.0;
    double slope = 0.0;
    double curvature = 0.0;
    for (std::size_t i = 0; i < moved.size(); ++i) {
      const std::vector<int>& scores = moved[i].category_scores;
      const double* p_fixed = row + setup.first_category[i];
      category_derivatives(moved[i], at.xi, p, dp, d2p);
      for (std::size_t k = 0; k < scores.size(); ++k) {
        const auto u = static_cast<double>(scores[k]);
        difference += u * p_fixed[k];
        difference -= u * p[k];
        slope += u * dp[k];
        curvature += u * d2p[k];
      }
    }
    add_squared_difference(sum, grid.weights[q], difference, slope, curvature, at);
  }
}

}  // namespace

CriterionValue stocking_lord_criterion(const CriterionSetup& setup, double A, double B) {
  CriterionValue sum;
  add_scale_part(sum, setup, setup.y_fixed, setup.x, setup.y_scale, [&](double theta) { return onto_form_x(theta, A, B); });
  if (setup.symmetric) {
    add_scale_part(sum, setup, setup.x_fixed, setup.y, setup.x_scale, [&](double theta) { return onto_form_y(theta, A, B); });
  }
  return sum;
}

}  // namespace irteq
