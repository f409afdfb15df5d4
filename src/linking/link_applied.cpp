// link() for one method: the same moment constants, the same start and the
// same minimisation of the applied criterion, without the other criterion's
// minimisation and the anchors' fit, which parametric draws do not use.
#include "linking/link_applied.hpp"

#include <limits>

#include "common/floating_point_mode.hpp"
#include "equate/normalised_grid.hpp"
#include "equate/prepare_items.hpp"
#include "irteq/error.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "linking/common_item_pairs.hpp"
#include "linking/minimise_criterion.hpp"
#include "linking/moment_constants.hpp"

namespace irteq {

namespace {

std::size_t slot(LinkingMethod method) { return static_cast<std::size_t>(method); }

MethodConstants minimised_constants(const LinkingInput& input, std::span<const CommonItemPositions> common,
                                    double start_A, double start_B) {
  std::vector<Item> x;
  std::vector<Item> y;
  for (const CommonItemPositions& pair : common) {
    x.push_back(input.items_x[pair.x]);
    y.push_back(input.items_y[pair.y]);
  }
  const CriterionSetup setup = criterion_setup(prepare_items(x), prepare_items(y), normalised_grid(input.grid_group2),
                                               normalised_grid(input.grid_group1), input.symmetric);
  const Criterion criterion =
      input.method == LinkingMethod::haebara ? haebara_criterion : stocking_lord_criterion;
  const CriterionMinimum minimum = minimise_criterion(criterion, setup, start_A, start_B);
  if (!minimum.converged) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    return {input.method, false, nan, nan, minimum.value, minimum.iterations, minimum.problem};
  }
  return {input.method, true, minimum.A, minimum.B, minimum.value, minimum.iterations, {}};
}

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
    // link()'s start: mean/sigma, else mean/mean, else no change.
    double start_A = 1.0;
    double start_B = 0.0;
    for (const LinkingMethod method : {LinkingMethod::mean_mean, LinkingMethod::mean_sigma}) {
      if (methods[slot(method)].available) {
        start_A = methods[slot(method)].A;
        start_B = methods[slot(method)].B;
      }
    }
    methods[slot(input.method)] = minimised_constants(input, common, start_A, start_B);
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
