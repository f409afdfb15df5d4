#pragma once

namespace irteq {

// Round to nearest with every floating-point exception masked, so overflow
// and invalid operations give infinities and NaNs that flow on.
void set_floating_point_mode();

}  // namespace irteq
