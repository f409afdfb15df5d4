// The Stocking-Lord criterion: the weighted sum of squared differences
// between the common items' form Y test characteristic curve and their
// transformed form X curve, each category weighted by its own score.
// Symmetric: plus the same on form X's scale.
#include <array>

#include "irteq/limits.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "linking/criterion_terms.hpp"
#include "models/category_derivatives.hpp"
#include "models/category_probabilities.hpp"

namespace irteq {

namespace {

void add_scale_part(CriterionValue& sum, const std::vector<Item>& fixed, const std::vector<Item>& moved,
                    const QuadratureGrid& grid, auto transformed) {
  std::array<double, max_categories> p{};
  std::array<double, max_categories> dp{};
  std::array<double, max_categories> d2p{};
  for (std::size_t q = 0; q < grid.points.size(); ++q) {
    const TransformedAbility at = transformed(grid.points[q]);
    double difference = 0.0;
    double slope = 0.0;
    double curvature = 0.0;
    for (std::size_t i = 0; i < fixed.size(); ++i) {
      const std::vector<int>& scores = fixed[i].category_scores;
      category_probabilities(fixed[i], grid.points[q], p);
      for (std::size_t k = 0; k < scores.size(); ++k) difference += static_cast<double>(scores[k]) * p[k];
      category_probabilities(moved[i], at.xi, p);
      category_derivatives(moved[i], at.xi, dp, d2p);
      for (std::size_t k = 0; k < scores.size(); ++k) {
        const auto u = static_cast<double>(scores[k]);
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
  add_scale_part(sum, setup.y, setup.x, setup.y_scale, [&](double theta) { return onto_form_x(theta, A, B); });
  if (setup.symmetric) {
    add_scale_part(sum, setup.x, setup.y, setup.x_scale, [&](double theta) { return onto_form_y(theta, A, B); });
  }
  return sum;
}

}  // namespace irteq
