#pragma once

#include <span>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// Lowest and highest possible raw score of a form: the sums of its items'
// first and last category scores.
struct ScoreRange {
  long long lowest = 0;
  long long highest = 0;
  long long point_count() const { return highest - lowest + 1; }
};

ScoreRange score_range(std::span<const Item> items);

// The form's score points lowest, lowest + 1, ..., highest, as doubles.
std::vector<double> score_points(const ScoreRange& range);

}  // namespace irteq
