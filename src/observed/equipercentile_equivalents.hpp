#pragma once

#include <span>

#include "common/score_distribution.hpp"

namespace irteq {

// Observed score equivalents: for each form X score point, the form Y score
// with the same percentile rank in the synthetic population. A distribution
// with any probability below 1e-8 (or not a number) is first adjusted in
// place to (f + 1e-8) / (n * 1e-8 + 1), so the caller sees the adjusted values.
// equivalents holds one entry per form X score point.
void equipercentile_equivalents(ScoreDistribution& synthetic_x, ScoreDistribution& synthetic_y,
                                std::span<double> equivalents);

}  // namespace irteq
