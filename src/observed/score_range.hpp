#pragma once

#include "common/item_set.hpp"

namespace irteq {

// Lowest and highest possible raw score of a form: the sums of its items'
// first and last category scores.
struct ScoreRange {
  long long lowest = 0;
  long long highest = 0;
  long long point_count() const { return highest - lowest + 1; }
};

ScoreRange score_range(const ItemSet& items);

}  // namespace irteq
