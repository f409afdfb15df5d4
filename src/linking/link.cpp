// One linking of form X's scale onto form Y's, from checked input: the
// common items resolved, both moment methods, both characteristic-curve
// criteria minimised from the moment constants, the applied method's
// transformation of form X's items and group 1's grid, and the anchors' fit.
#include "common/floating_point_mode.hpp"
#include "models/normalised_grid.hpp"
#include "models/prepare_items.hpp"
#include "irteq/validate.hpp"
#include "irteq/linking.hpp"
#include "linking/anchor_fit.hpp"
#include "linking/common_item_pairs.hpp"
#include "linking/common_item_setup.hpp"

namespace irteq {

namespace {

std::size_t slot(LinkingMethod method) { return static_cast<std::size_t>(method); }

}  // namespace

LinkingResult link(const LinkingInput& input) {
  const FloatingPointMode mode;
  const InputNames& names = input.names;
  validate_items(input.items_x, names.items_x);
  validate_items(input.items_y, names.items_y);
  validate_grid(input.grid_group1, names.grid_group1);
  validate_grid(input.grid_group2, names.grid_group2);
  const std::vector<CommonItemPositions> common = common_item_positions(input);

  LinkingResult result;
  result.applied = input.method;
  result.symmetric = input.symmetric;
  auto& methods = result.methods;
  moment_methods(input, common, methods);
  const CriterionSetup setup = common_item_setup(input, common);
  for (const LinkingMethod method : {LinkingMethod::haebara, LinkingMethod::stocking_lord}) {
    methods[slot(method)] = characteristic_curve_constants(method, setup, methods);
  }

  const MethodConstants& applied = applied_constants(input, methods);
  result.A = applied.A;
  result.B = applied.B;
  result.items_x = transform_items(input.items_x, result.A, result.B);
  result.grid_group1 = transform_grid(input.grid_group1, result.A, result.B);
  result.anchors = anchor_fit(prepare_items(result.items_x), prepare_items(input.items_y), common, input.common,
                              normalised_grid(input.grid_group2));
  for (std::size_t i = 0; i < common.size(); ++i) result.anchors[i].model = input.items_x[common[i].x].model;
  return result;
}

}  // namespace irteq
