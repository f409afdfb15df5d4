#pragma once

#include "irteq/input.hpp"
#include "irteq/result.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// d(observed score equivalent of each form X score point)/d(parameters):
// rows parallel to result.x.raw_scores, columns as layout orders them (form
// X's estimated parameters on form X's own scale, form Y's, then A and B).
// input is the run with form X's items and group 1's grid on form X's own
// scale; the equating that produced result used transform_items(input.items_x,
// A, B) and transform_grid(input.grid_group1, A, B) (A = 1, B = 0 when the
// run does not link). Through the four marginal distributions, the two
// synthetic ones, the near-zero adjustment where result says it applied,
// and the equipercentile step along the branch it took. The A and B columns
// are the derivatives in the constants at the values given, whether or not
// the run links. Work is shared out over `threads` threads (below 1 counts
// as 1); the numbers do not depend on it.
Gradients observed_score_gradients(const EquatingInput& input, double A, double B, const EquatingResult& result,
                                   const ParameterLayout& layout, int threads);

}  // namespace irteq
