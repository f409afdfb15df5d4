#pragma once

#include <span>
#include <vector>

namespace irteq {

// Observed score equivalents: for each form X score point, the form Y score
// with the same percentile rank in the synthetic population, each score
// spread over the interval from half a point below to half a point above it.
// The synthetic distributions come adjusted by adjust_zero_probabilities;
// y_raw_scores are form Y's score points. One equivalent per form X point.
std::vector<double> equipercentile_equivalents(std::span<const double> synthetic_x, std::span<const double> synthetic_y,
                                               std::span<const double> y_raw_scores);

}  // namespace irteq
