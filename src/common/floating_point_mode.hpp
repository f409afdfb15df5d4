#pragma once

#include <cfenv>

namespace irteq {

// For the life of the object: round to nearest with every floating-point
// exception masked, so that overflow and invalid operations give infinities
// and NaNs that flow on. The caller's mode (rounding, masks, flags) comes
// back at the end. The mode is per thread, so runs on other threads are unaffected.
class FloatingPointMode {
 public:
  FloatingPointMode();
  ~FloatingPointMode();
  FloatingPointMode(const FloatingPointMode&) = delete;
  FloatingPointMode& operator=(const FloatingPointMode&) = delete;

 private:
  std::fenv_t saved_;
};

}  // namespace irteq
