#pragma once

#include <span>
#include <vector>

#include "common/score_distribution.hpp"
#include "irteq/input.hpp"
#include "irteq/result.hpp"

namespace irteq {

// The parts of an equating that need nothing of each other: the four marginal
// distributions and true score equating.
struct IndependentStages {
  ScoreDistribution y_group2;
  ScoreDistribution y_group1;
  ScoreDistribution x_group1;
  ScoreDistribution x_group2;
  TrueScoreEquating true_score;
  std::vector<RootFinderWarning> warnings;
};

// Computes them from the prepared items and normalised grids (the searches to
// root_tolerance), on one thread or on up to `threads` (at most five do
// work). On several, the four marginal distributions are shared out while
// worker 0 runs true score equating's searches, one after another; form Y's
// true scores follow the searches.
// Every number is the same sequence of operations as on one thread, so the
// results do not depend on the thread count.
IndependentStages independent_stages(std::span<const Item> items_y, std::span<const Item> items_x,
                                     const QuadratureGrid& group1, const QuadratureGrid& group2, int threads,
                                     double root_tolerance);

}  // namespace irteq
