#pragma once

#include <span>

#include "common/kernel_path.hpp"

namespace irteq {

// One step of the item-by-item recursion for a batch of distributions held
// side by side, one per vector lane (lanes = kernel_lanes(path)): entry
// x * lanes + t of a buffer is the probability that distribution t's running
// raw score is its lowest plus x. Each new probability is the sum over the
// item's categories, in category order and starting from 0, of previous
// probability times category probability.
//
// With spread = last score - first score and next_count = previous_count +
// spread points after the item:
// - previous holds points -spread .. next_count - 1 before the item (so
//   (spread + next_count) * lanes entries), of which those below 0 and from
//   previous_count on are 0;
// - item_probabilities holds category k's probability in distribution t at
//   k * lanes + t;
// - next receives points 0 .. next_count - 1 (next_count * lanes entries).
// A category that reaches outside the previous range thus adds previous 0
// times its probability, which leaves a sum of non-negative terms as it is
// for any finite probability: every lane gets the bits that the definition,
// skipping such categories, gives one distribution alone.
//
// Categories may share scores, and scores may be negative or skip values,
// but the first must be the lowest and the last the highest.
void add_item_to_distributions(std::span<const double> previous, std::span<const int> item_scores,
                               std::span<const double> item_probabilities, std::span<double> next, KernelPath path);

}  // namespace irteq
