#pragma once

#include <array>
#include <span>

#include "irteq/linking.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "linking/common_item_pairs.hpp"

namespace irteq {

// The characteristic-curve criteria's setup for the common items: each pair's
// items as the models see them, group 2's grid on form Y's scale and group
// 1's on form X's, both normalised.
CriterionSetup common_item_setup(const EquatingInput& forms, const LinkingInput& linking,
                                 std::span<const CommonItemPositions> common);

// Both moment methods' constants, in their slots of methods (LinkingMethod order).
void moment_methods(const EquatingInput& forms, std::span<const CommonItemPositions> common,
                    std::array<MethodConstants, 4>& methods);

// A characteristic-curve method's constants: its criterion minimised from
// the moment constants already in methods (mean/sigma, else mean/mean, else
// A = 1, B = 0); not available, with the minimiser's reason, when it does
// not converge. The criterion and the steps taken are kept either way.
MethodConstants characteristic_curve_constants(LinkingMethod method, const CriterionSetup& setup,
                                               const std::array<MethodConstants, 4>& methods);

// The applied method's constants; an Error naming the common-item file when
// they cannot be had (invalid_input for a moment method, linking_failed for
// a criterion without a minimum). Moment methods never give A <= 0 and the
// minimiser keeps A above 0, so available constants are usable.
const MethodConstants& applied_constants(const LinkingInput& linking, const std::array<MethodConstants, 4>& methods);

}  // namespace irteq
