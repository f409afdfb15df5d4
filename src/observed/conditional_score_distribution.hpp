#pragma once

#include "common/item_set.hpp"
#include "common/score_distribution.hpp"

namespace irteq {

// Raw score distribution of a form (at least one item, range within
// max_score_points) given theta, by adding one item at a time.
void conditional_score_distribution(double theta, const ItemSet& items, ScoreDistribution& result);

}  // namespace irteq
