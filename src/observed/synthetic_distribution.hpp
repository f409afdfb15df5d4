#pragma once

#include "common/score_distribution.hpp"

namespace irteq {

// w1 * group1 + w2 * group2 point by point, with w1 = 1 - w2; not renormalised.
ScoreDistribution synthetic_distribution(const ScoreDistribution& group1, const ScoreDistribution& group2, double w2);

}  // namespace irteq
