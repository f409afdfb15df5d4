#pragma once

#include <span>

#include "irteq/input.hpp"

namespace irteq {

// Raw score distribution of a form (at least one item) given theta, by adding
// one item at a time, into probabilities: one entry per score point, from the
// form's lowest raw score (score_range). scratch is working storage of the same size.
void conditional_score_distribution(double theta, std::span<const Item> items, std::span<double> probabilities,
                                    std::span<double> scratch);

}  // namespace irteq
