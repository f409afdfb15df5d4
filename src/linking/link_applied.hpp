#pragma once

#include "irteq/linking.hpp"

namespace irteq {

// The applied method's linking alone, for the many linkings of parametric
// draws: its constants, form X's items and group 1's grid on form Y's
// scale, each the very bits link() gives. A characteristic-curve method
// starts where link() starts it, so the moment methods are worked out too
// (methods holds those and the applied one; the other criterion and the
// anchors' fit are left out). The items and grids must have passed
// validate_items and validate_grid. Throws Error as link() does when the
// applied method cannot be had or gives no A > 0.
LinkingResult link_applied(const LinkingInput& input);

}  // namespace irteq
