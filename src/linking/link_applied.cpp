// link() for one method: the same moment constants, the same start and the
// same minimisation of the applied criterion, without the other criterion's
// minimisation and the anchors' fit, which parametric draws do not use.
#include "linking/link_applied.hpp"

#include "common/floating_point_mode.hpp"
#include "irteq/error.hpp"
#include "linking/common_item_pairs.hpp"
#include "linking/common_item_setup.hpp"
#include "linking/moment_constants.hpp"

namespace irteq {

namespace {

std::size_t slot(LinkingMethod method) { return static_cast<std::size_t>(method); }

}  // namespace

LinkingResult link_applied(const LinkingInput& input) {
  const FloatingPointMode mode;
  const std::vector<CommonItemPositions> common = common_item_positions(input);
  LinkingResult result;
  result.applied = input.method;
  result.symmetric = input.symmetric;
  auto& methods = result.methods;
  for (const LinkingMethod method : {LinkingMethod::mean_mean, LinkingMethod::mean_sigma}) {
    methods[slot(method)] = moment_constants(method, input.items_x, input.items_y, common);
  }
  const bool moment = input.method == LinkingMethod::mean_mean || input.method == LinkingMethod::mean_sigma;
  if (!moment) {
    methods[slot(input.method)] = characteristic_curve_constants(input.method, common_item_setup(input, common), methods);
  }
  const MethodConstants& applied = methods[slot(input.method)];
  if (!applied.available || !(applied.A > 0.0)) {
    throw Error(input.common_items_name + ": " + std::string(linking_method_name(input.method)) +
                    " linking failed: " + (applied.available ? "A is not above 0" : applied.problem),
                {.code = moment ? ErrorCode::invalid_input : ErrorCode::linking_failed,
                 .input = InputPart::common_items,
                 .source = input.common_items_name});
  }
  result.A = applied.A;
  result.B = applied.B;
  result.items_x = transform_items(input.items_x, result.A, result.B);
  result.grid_group1 = transform_grid(input.grid_group1, result.A, result.B);
  return result;
}

}  // namespace irteq
