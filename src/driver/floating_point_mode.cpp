#include "driver/floating_point_mode.hpp"

#include <cfenv>

namespace irteq {

void set_floating_point_mode() {
  std::fesetround(FE_TONEAREST);
#if defined(__GLIBC__)
  fedisableexcept(FE_ALL_EXCEPT);
#endif
  // Doubles are evaluated in 53-bit precision on every target this builds for
  // (SSE2 on x86-64); there is no extended-precision unit to set.
}

}  // namespace irteq
