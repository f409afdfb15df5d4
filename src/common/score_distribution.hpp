#pragma once

#include <cstddef>
#include <vector>

namespace irteq {

// Raw score points of one form (consecutive integers from its lowest possible
// raw score, held as doubles) with one probability each.
struct ScoreDistribution {
  std::vector<double> raw_scores;
  std::vector<double> probabilities;
  std::size_t point_count() const { return raw_scores.size(); }
};

}  // namespace irteq
