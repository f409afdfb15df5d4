#pragma once

namespace irteq {

// The polynomial of Abramowitz and Stegun 26.2.19, shared by normal_cdf and
// its derivatives so that both describe the same curve:
// s(t) = 1 + d1 t + d2 t^2 + ... + d6 t^6.
namespace normal_cdf_coefficients {
inline constexpr double d1 = 0.0498673470;
inline constexpr double d2 = 0.0211410061;
inline constexpr double d3 = 0.0032776263;
inline constexpr double d4 = 0.0000380036;
inline constexpr double d5 = 0.0000488906;
inline constexpr double d6 = 0.0000053830;
}  // namespace normal_cdf_coefficients

}  // namespace irteq
