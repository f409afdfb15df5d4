#pragma once

namespace irteq {

inline constexpr const char* version = "1.0.0";

}  // namespace irteq
