// What link(), the applied method's relinking of each parametric draw, and the
// constants' gradients share: the common items' criterion setup and the
// minimisation from the moment constants.
#include "linking/common_item_setup.hpp"

#include <limits>

#include "equate/normalised_grid.hpp"
#include "equate/prepare_items.hpp"
#include "linking/minimise_criterion.hpp"

namespace irteq {

CriterionSetup common_item_setup(const LinkingInput& input, std::span<const CommonItemPositions> common) {
  std::vector<Item> x;
  std::vector<Item> y;
  for (const CommonItemPositions& pair : common) {
    x.push_back(input.items_x[pair.x]);
    y.push_back(input.items_y[pair.y]);
  }
  return criterion_setup(prepare_items(x), prepare_items(y), normalised_grid(input.grid_group2),
                         normalised_grid(input.grid_group1), input.symmetric);
}

MethodConstants characteristic_curve_constants(LinkingMethod method, const CriterionSetup& setup,
                                               const std::array<MethodConstants, 4>& methods) {
  double A = 1.0;
  double B = 0.0;
  for (const LinkingMethod moment : {LinkingMethod::mean_mean, LinkingMethod::mean_sigma}) {
    const MethodConstants& constants = methods[static_cast<std::size_t>(moment)];
    if (constants.available) {
      A = constants.A;
      B = constants.B;
    }
  }
  const Criterion criterion = method == LinkingMethod::haebara ? haebara_criterion : stocking_lord_criterion;
  const CriterionMinimum minimum = minimise_criterion(criterion, setup, A, B);
  if (!minimum.converged) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    return {method, false, nan, nan, minimum.value, minimum.iterations, minimum.problem};
  }
  return {method, true, minimum.A, minimum.B, minimum.value, minimum.iterations, {}};
}

}  // namespace irteq
