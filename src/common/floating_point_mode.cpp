#include "common/floating_point_mode.hpp"

namespace irteq {

FloatingPointMode::FloatingPointMode() {
  std::fegetenv(&saved_);
  std::fesetround(FE_TONEAREST);
#if defined(__GLIBC__)
  fedisableexcept(FE_ALL_EXCEPT);
#endif
  // Doubles are evaluated in 53-bit precision on every target this builds for
  // (SSE2 on x86-64); there is no extended-precision unit to set.
}

FloatingPointMode::~FloatingPointMode() { std::fesetenv(&saved_); }

}  // namespace irteq
