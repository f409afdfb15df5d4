// link() for one method: the same moment constants, the same start and the
// same minimisation of the applied criterion, without the other criterion's
// minimisation and the anchors' fit, which parametric draws do not use.
#include "linking/link_applied.hpp"

#include "common/floating_point_mode.hpp"
#include "linking/common_item_pairs.hpp"
#include "linking/common_item_setup.hpp"

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
  moment_methods(input, common, methods);
  const bool moment = input.method == LinkingMethod::mean_mean || input.method == LinkingMethod::mean_sigma;
  if (!moment) {
    methods[slot(input.method)] = characteristic_curve_constants(input.method, common_item_setup(input, common), methods);
  }
  const MethodConstants& applied = applied_constants(input, methods);
  result.A = applied.A;
  result.B = applied.B;
  result.items_x = transform_items(input.items_x, result.A, result.B);
  result.grid_group1 = transform_grid(input.grid_group1, result.A, result.B);
  return result;
}

}  // namespace irteq
