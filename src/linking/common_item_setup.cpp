// What link(), the applied method's relinking of each parametric draw, and the
// constants' gradients share: the moment methods, the common items' criterion
// setup, the minimisation from the moment constants, the applied method's check.
#include "linking/common_item_setup.hpp"

#include "irteq/error.hpp"
#include "linking/minimise_criterion.hpp"
#include "linking/moment_constants.hpp"
#include "models/normalised_grid.hpp"
#include "models/prepare_items.hpp"

namespace irteq {

CriterionSetup common_item_setup(const EquatingInput& forms, const LinkingInput& linking,
                                 std::span<const CommonItemPositions> common) {
  std::vector<Item> x;
  std::vector<Item> y;
  for (const CommonItemPositions& pair : common) {
    x.push_back(forms.items_x[pair.x]);
    y.push_back(forms.items_y[pair.y]);
  }
  return criterion_setup(prepare_items(x), prepare_items(y), normalised_grid(forms.grid_group2),
                         normalised_grid(forms.grid_group1), linking.symmetric);
}

void moment_methods(const EquatingInput& forms, std::span<const CommonItemPositions> common,
                    std::array<MethodConstants, 4>& methods) {
  for (const LinkingMethod method : linking_methods) {
    if (is_characteristic_curve(method)) continue;
    methods[static_cast<std::size_t>(method)] = moment_constants(method, forms.items_x, forms.items_y, common);
  }
}

MethodConstants characteristic_curve_constants(LinkingMethod method, const CriterionSetup& setup,
                                               const std::array<MethodConstants, 4>& methods) {
  // Later moment methods win: mean/sigma where it can be had.
  double A = 1.0;
  double B = 0.0;
  for (const MethodConstants& constants : methods) {
    if (!is_characteristic_curve(constants.method) && constants.available()) {
      A = *constants.A;
      B = *constants.B;
    }
  }
  const CriterionMinimum minimum = minimise_criterion(method, setup, A, B);
  MethodConstants constants;
  constants.method = method;
  constants.criterion = minimum.value;
  constants.iterations = minimum.iterations;
  if (minimum.termination == MinimiserTermination::converged) {
    constants.A = minimum.A;
    constants.B = minimum.B;
  } else {
    constants.problem = termination_message(minimum.termination);
  }
  return constants;
}

const MethodConstants& applied_constants(const LinkingInput& linking, const std::array<MethodConstants, 4>& methods) {
  const MethodConstants& applied = methods[static_cast<std::size_t>(linking.method)];
  if (!applied.available()) {
    throw Error(linking.common_items_name + ": " + std::string(linking_method_name(linking.method)) +
                    " linking failed: " + applied.problem,
                {.code = is_characteristic_curve(linking.method) ? ErrorCode::linking_failed : ErrorCode::invalid_input,
                 .input = InputPart::common_items,
                 .source = linking.common_items_name});
  }
  return applied;
}

}  // namespace irteq
