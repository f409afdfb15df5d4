// One linking of form X's scale onto form Y's, from checked input: the
// common items resolved, both moment methods, the characteristic-curve
// criteria minimised from the moment constants, and the applied method's
// transformation of form X's items and group 1's grid.
#include <optional>

#include "common/floating_point_mode.hpp"
#include "irteq/error.hpp"
#include "irteq/linking.hpp"
#include "linking/common_item_pairs.hpp"
#include "linking/common_item_setup.hpp"
#include "linking/link_methods.hpp"
#include "linking/screened_link.hpp"

namespace irteq {

namespace {

std::size_t slot(LinkingMethod method) { return static_cast<std::size_t>(method); }

// A symmetric criterion needs a criterion: the moment methods have none.
void check_symmetric(const LinkingInput& linking) {
  if (!linking.symmetric || is_characteristic_curve(linking.method)) return;
  std::string where = linking.common_items_name;
  if (linking.method_line > 0) where += " line " + std::to_string(linking.method_line);
  throw Error(where + ": symmetric applies to the characteristic-curve methods (haebara, stocking-lord), not to " +
                  std::string(linking_method_name(linking.method)),
              {.code = ErrorCode::invalid_input,
               .input = InputPart::common_items,
               .source = linking.common_items_name,
               .line = linking.method_line});
}

}  // namespace

LinkingResult link_methods(const EquatingInput& forms, const LinkingInput& linking, LinkingScope scope) {
  const FloatingPointMode mode;
  check_symmetric(linking);
  const std::vector<CommonItemPositions> common = common_item_positions(forms, linking);

  LinkingResult result;
  result.applied = linking.method;
  result.symmetric = linking.symmetric;
  auto& methods = result.methods;
  for (const LinkingMethod method : linking_methods) methods[slot(method)].method = method;
  moment_methods(forms, common, methods);
  const bool every = scope == LinkingScope::every_method;
  // Kept to the end: freed before the transformed items were made, its
  // fixed sides' pages (hundreds of kilobytes) went back to the system and
  // were faulted in again at every linking, a fifth of a symmetric one's time.
  std::optional<CriterionSetup> setup;
  if (every || is_characteristic_curve(linking.method)) setup = common_item_setup(forms, linking, common);
  for (const LinkingMethod method : linking_methods) {
    if (is_characteristic_curve(method) && (every || method == linking.method)) {
      methods[slot(method)] = characteristic_curve_constants(method, *setup, methods);
    }
  }

  const MethodConstants& applied = applied_constants(linking, methods);
  result.A = *applied.A;
  result.B = *applied.B;
  result.items_x = transform_items(forms.items_x, result.A, result.B);
  result.grid_group1 = transform_grid(forms.grid_group1, result.A, result.B);
  return result;
}

LinkingResult link(const EquatingInput& forms, const LinkingInput& linking) {
  return screened_link(forms, linking, nullptr);
}

}  // namespace irteq
