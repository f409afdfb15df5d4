#pragma once

// Limits of one run. The readers and equate() refuse input beyond them.
namespace irteq {

inline constexpr int max_items = 200;               // items of one form
inline constexpr int max_categories = 120;          // categories of one item (60 for BN and MU items)
inline constexpr int max_parameters = 121;          // parameters of one item, as held for the models
inline constexpr int max_quadrature_points = 100;   // points of one group's grid
inline constexpr int max_score_points = 1000;       // raw score points of one form, rows of the scale table
inline constexpr int max_line_length = 1 << 20;     // characters of one line of an input file (1 MiB)

}  // namespace irteq
