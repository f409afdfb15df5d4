// Delta-method gradients of the linking constants. The characteristic-curve
// constants are where the criterion's gradient in (A, B) vanishes, so by the
// implicit function theorem d(A, B)/d(eta) = -H^{-1} d(gradient)/d(eta),
// with H the criterion's full Hessian in (A, B) at the constants found.
#include "standard_errors/linking_constant_gradients.hpp"

#include <array>
#include <vector>

#include "linking/characteristic_curve_criterion.hpp"
#include "linking/common_item_pairs.hpp"
#include "linking/common_item_setup.hpp"
#include "standard_errors/criterion_gradient_derivatives.hpp"
#include "standard_errors/moment_constant_gradients.hpp"

namespace irteq {

Gradients linking_constant_gradients(const EquatingInput& forms, const LinkingInput& linking,
                                     const MethodConstants& constants, const ParameterLayout& layout) {
  const std::vector<CommonItemPositions> common = common_item_positions(forms, linking);
  if (!is_characteristic_curve(constants.method)) return moment_constant_gradients(forms, common, constants, layout);
  const double A = *constants.A;
  const double B = *constants.B;
  Gradients g = criterion_gradient_derivatives(constants.method, forms, linking, common, layout, A, B);
  // The criterion's Hessian as link() evaluates it: the same setup, the same routine.
  const std::array<double, 3> h =
      characteristic_curve_criterion(constants.method, common_item_setup(forms, linking, common), A, B).hessian;
  const double determinant = h[0] * h[2] - h[1] * h[1];
  const std::size_t parameters = layout.x_size + layout.y_size;
  for (std::size_t column = 0; column < parameters; ++column) {
    const double ga = g.at(0, column);
    const double gb = g.at(1, column);
    g.at(0, column) = -(h[2] * ga - h[1] * gb) / determinant;
    g.at(1, column) = -(h[0] * gb - h[1] * ga) / determinant;
  }
  return g;
}

}  // namespace irteq
