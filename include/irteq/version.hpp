#pragma once

// irteq's version, for the preprocessor and for code. The major number
// changes when the library's interface changes incompatibly.
#define IRTEQ_VERSION_MAJOR 2
#define IRTEQ_VERSION_MINOR 0
#define IRTEQ_VERSION_PATCH 0

#define IRTEQ_VERSION_TEXT_(number) #number
#define IRTEQ_VERSION_TEXT(number) IRTEQ_VERSION_TEXT_(number)
// "2.0.0"
#define IRTEQ_VERSION_STRING                                                                 \
  IRTEQ_VERSION_TEXT(IRTEQ_VERSION_MAJOR) "." IRTEQ_VERSION_TEXT(IRTEQ_VERSION_MINOR) "." \
      IRTEQ_VERSION_TEXT(IRTEQ_VERSION_PATCH)

namespace irteq {

inline constexpr const char* version = IRTEQ_VERSION_STRING;

}  // namespace irteq
