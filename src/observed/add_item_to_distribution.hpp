#pragma once

#include <span>

#include "observed/kernel_path.hpp"

namespace irteq {

// One step of the item-by-item recursion. previous holds the probabilities of
// the running raw score from its lowest to its highest value; next receives
// those of the running score plus the item's score, from the new lowest
// (previous lowest + first category score) to the new highest (previous
// highest + last category score): previous.size() + last - first entries.
// Each new probability is the sum over categories, in category order and
// starting from 0, of previous probability times category probability.
// Categories may share scores, and scores may be negative or skip values,
// but the first must be the lowest and the last the highest.
void add_item_to_distribution(std::span<const double> previous, std::span<const int> item_scores,
                              std::span<const double> item_probabilities, std::span<double> next);

// The same on a given path, which must be supported (kernel_path_supported):
// for tests and benchmarks. The other form takes kernel_path().
void add_item_to_distribution(std::span<const double> previous, std::span<const int> item_scores,
                              std::span<const double> item_probabilities, std::span<double> next, KernelPath path);

}  // namespace irteq
