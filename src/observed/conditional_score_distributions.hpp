#pragma once

#include <span>

#include "irteq/input.hpp"

namespace irteq {

// Raw score distributions of a form (at least one item) given each of thetas,
// by adding one item at a time to the sure score 0: probabilities receives,
// in the order of thetas, one row per theta of score_range(items).point_count()
// entries from the form's lowest raw score. The recursion carries
// kernel_lanes(kernel_path()) thetas at once, one per vector lane; a row's
// bits depend on its theta alone, not on the other thetas or the batching.
void conditional_score_distributions(std::span<const double> thetas, std::span<const Item> items,
                                     std::span<double> probabilities);

}  // namespace irteq
