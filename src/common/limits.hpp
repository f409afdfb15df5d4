#pragma once

// Capacities of one run. Every array of run data is sized by them, and the
// readers reject input that would not fit.
namespace irteq {

inline constexpr int max_items = 200;
inline constexpr int max_categories = 120;
inline constexpr int max_parameters = 121;
inline constexpr int max_quadrature_points = 100;
inline constexpr int max_score_points = 1000;

}  // namespace irteq
