#pragma once

#include <array>

#include "common/limits.hpp"

namespace irteq {

// Raw score points of one form (consecutive integers from its lowest possible
// raw score, held as doubles) with one probability each.
struct ScoreDistribution {
  int point_count = 0;
  std::array<double, max_score_points> raw_scores{};
  std::array<double, max_score_points> probabilities{};
};

}  // namespace irteq
