#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace irteq {

// How equipercentile_equivalents reached one form X point's equivalent. A
// constant one (the percentile rank at the top, or beyond form Y's
// cumulative distribution) has no derivative; otherwise
//   e = (rank - lower) / width + y(j) - 0.5
// with lower = F_Y(j - 1) (0 for j = 0) and width = F_Y(j) - lower.
struct EquipercentileStep {
  bool constant = true;
  std::size_t j = 0;  // form Y's score point whose interval holds the rank
  double rank = 0.0;
  double lower = 0.0;
  double width = 0.0;
};

// The steps as equipercentile_equivalents takes them, from the synthetic
// distributions it was given (after the adjustment of near-zero probabilities).
std::vector<EquipercentileStep> equipercentile_steps(std::span<const double> synthetic_x,
                                                     std::span<const double> synthetic_y);

}  // namespace irteq
