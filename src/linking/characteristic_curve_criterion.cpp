// The characteristic-curve criteria: at each point of a scale's grid, the
// moved side's items evaluated at the transformed ability against the fixed
// side's probabilities, computed once per linking. Haebara adds each
// category's squared residual, Stocking-Lord the squared residual of the
// true scores (criterion_residuals.hpp). Symmetric: plus the same on form X's
// scale.
#include <array>

#include "irteq/limits.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "linking/criterion_residuals.hpp"
#include "linking/criterion_terms.hpp"
#include "models/category_derivatives.hpp"

namespace irteq {

namespace {

// One instantiation per criterion, so that each loop is compiled as tight as
// one written for it alone.
template <LinkingMethod Method>
void add_scale_part(CriterionValue& sum, const CriterionSetup& setup, const std::vector<double>& fixed,
                    const std::vector<Item>& moved, const QuadratureGrid& grid, auto transformed) {
  std::array<double, max_categories> p{};
  std::array<double, max_categories> dp{};
  std::array<double, max_categories> d2p{};
  for (std::size_t q = 0; q < grid.points.size(); ++q) {
    const TransformedAbility at = transformed(grid.points[q]);
    const double* row = fixed.data() + q * setup.categories;
    const double w = grid.weights[q];
    [[maybe_unused]] StockingLordResidual residual;
    for (std::size_t i = 0; i < moved.size(); ++i) {
      category_derivatives(moved[i], at.xi, p, dp, d2p);
      const double* p_fixed = row + setup.first_category[i];
      if constexpr (Method == LinkingMethod::haebara) {
        haebara_residuals(moved[i], p_fixed, p.data(), dp.data(), d2p.data(),
                          [&](double r, double slope, double curvature, std::size_t) {
                            add_squared_difference(sum, w, r, slope, curvature, at);
                          });
      } else {
        residual.add(moved[i], p_fixed, p.data(), dp.data(), d2p.data());
      }
    }
    if constexpr (Method != LinkingMethod::haebara) {
      add_squared_difference(sum, w, residual.difference, residual.slope, residual.curvature, at);
    }
  }
}

template <LinkingMethod Method>
CriterionValue criterion(const CriterionSetup& setup, double A, double B) {
  CriterionValue sum;
  add_scale_part<Method>(sum, setup, setup.y_fixed, setup.x, setup.y_scale,
                         [&](double theta) { return onto_form_x(theta, A, B); });
  if (setup.symmetric) {
    add_scale_part<Method>(sum, setup, setup.x_fixed, setup.y, setup.x_scale,
                           [&](double theta) { return onto_form_y(theta, A, B); });
  }
  return sum;
}

}  // namespace

CriterionValue characteristic_curve_criterion(LinkingMethod method, const CriterionSetup& setup, double A,
                                              double B) {
  return method == LinkingMethod::haebara ? criterion<LinkingMethod::haebara>(setup, A, B)
                                          : criterion<LinkingMethod::stocking_lord>(setup, A, B);
}

}  // namespace irteq
