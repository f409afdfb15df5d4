// What link(), the applied method's relinking of each parametric draw, and the
// constants' gradients share: the moment methods, the common items' criterion
// setup, the minimisation from the moment constants, the applied method's check.
#include "linking/common_item_setup.hpp"

#include <limits>

#include "models/normalised_grid.hpp"
#include "models/prepare_items.hpp"
#include "irteq/error.hpp"
#include "linking/minimise_criterion.hpp"
#include "linking/moment_constants.hpp"

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

void moment_methods(const LinkingInput& input, std::span<const CommonItemPositions> common,
                    std::array<MethodConstants, 4>& methods) {
  for (const LinkingMethod method : {LinkingMethod::mean_mean, LinkingMethod::mean_sigma}) {
    methods[static_cast<std::size_t>(method)] = moment_constants(method, input.items_x, input.items_y, common);
  }
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

const MethodConstants& applied_constants(const LinkingInput& input, const std::array<MethodConstants, 4>& methods) {
  const MethodConstants& applied = methods[static_cast<std::size_t>(input.method)];
  if (!applied.available) {
    const bool moment = input.method == LinkingMethod::mean_mean || input.method == LinkingMethod::mean_sigma;
    throw Error(input.common_items_name + ": " + std::string(linking_method_name(input.method)) +
                    " linking failed: " + applied.problem,
                {.code = moment ? ErrorCode::invalid_input : ErrorCode::linking_failed,
                 .input = InputPart::common_items,
                 .source = input.common_items_name});
  }
  return applied;
}

}  // namespace irteq
