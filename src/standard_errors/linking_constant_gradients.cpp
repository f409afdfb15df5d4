// Delta-method gradients of the linking constants. The characteristic-curve
// constants are where the criterion's gradient in (A, B) vanishes, so by the
// implicit function theorem d(A, B)/d(eta) = -H^{-1} d(gradient)/d(eta),
// with H the criterion's full Hessian in (A, B) at the constants found.
#include "standard_errors/linking_constant_gradients.hpp"

#include <array>
#include <limits>
#include <span>
#include <vector>

#include "linking/characteristic_curve_criterion.hpp"
#include "linking/common_item_pairs.hpp"
#include "linking/common_item_setup.hpp"
#include "linking/minimise_criterion.hpp"
#include "standard_errors/criterion_gradient_derivatives.hpp"
#include "standard_errors/moment_constant_gradients.hpp"

namespace irteq {

namespace {

// The criterion's Hessian in (A, B) as link() evaluates it: the same setup,
// the same routine.
std::array<double, 3> criterion_hessian(const LinkingInput& input, std::span<const CommonItemPositions> common,
                                        LinkingMethod method, double A, double B) {
  const Criterion criterion = method == LinkingMethod::haebara ? haebara_criterion : stocking_lord_criterion;
  return criterion(common_item_setup(input, common), A, B).hessian;
}

}  // namespace

Gradients linking_constant_gradients(const LinkingInput& input, const MethodConstants& constants,
                                     const ParameterLayout& layout) {
  const std::size_t parameters = layout.x_size + layout.y_size;
  if (!constants.available) {
    Gradients g(2, layout.columns());
    for (std::size_t column = 0; column < parameters; ++column) {
      g.at(0, column) = std::numeric_limits<double>::quiet_NaN();
      g.at(1, column) = std::numeric_limits<double>::quiet_NaN();
    }
    return g;
  }
  const std::vector<CommonItemPositions> common = common_item_positions(input);
  if (constants.method == LinkingMethod::mean_mean || constants.method == LinkingMethod::mean_sigma) {
    return moment_constant_gradients(input, common, constants, layout);
  }
  Gradients g = criterion_gradient_derivatives(constants.method, input, common, layout, constants.A, constants.B);
  const std::array<double, 3> h = criterion_hessian(input, common, constants.method, constants.A, constants.B);
  const double determinant = h[0] * h[2] - h[1] * h[1];
  for (std::size_t column = 0; column < parameters; ++column) {
    const double ga = g.at(0, column);
    const double gb = g.at(1, column);
    g.at(0, column) = -(h[2] * ga - h[1] * gb) / determinant;
    g.at(1, column) = -(h[0] * gb - h[1] * ga) / determinant;
  }
  return g;
}

}  // namespace irteq
