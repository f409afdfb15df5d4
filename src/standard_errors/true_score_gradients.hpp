#pragma once

#include "irteq/input.hpp"
#include "irteq/result.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// Derivatives of the true score equivalent of each form X score point in the
// run's parameters: rows parallel to result.x.raw_scores, columns as layout
// orders them (form X's estimated parameters on form X's own scale, form
// Y's, then A and B). input holds form X's items and group 1's grid on form
// X's own scale; result is the equating of transform_items(input.items_x, A, B)
// to input.items_y (A = 1, B = 0 when the run does not link). A searched
// point is differentiated at the theta the equating returned, through the
// implicit function of its root; a point of the straight line below the
// chance score through that line; the top score point has none.
Gradients true_score_gradients(const EquatingInput& input, double A, double B, const EquatingResult& result,
                               const ParameterLayout& layout);

}  // namespace irteq
