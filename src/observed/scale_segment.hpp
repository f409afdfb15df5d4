#pragma once

#include <span>

#include "irteq/input.hpp"

namespace irteq {

// The segment of form Y's piecewise linear raw-to-scale conversion that an
// equivalent is converted on, from (raw, scale) rising by rise over run:
// the segment between the form Y raw scores that bracket it, chosen by the
// number of raw scores below it (so a knot takes the segment below it); below
// the lowest raw score the end segment from (y(1) - 0.5, scale_min - 0.5),
// above the highest the one to (y(nY) + 0.5, scale_max + 0.5). Table row j
// belongs to form Y's j-th raw score. The conversion and its slope take the
// segment from here, so the delta method differentiates the segment the
// conversion used.
struct ScaleSegment {
  double raw = 0.0;
  double scale = 0.0;
  double rise = 0.0;
  double run = 1.0;
};
ScaleSegment scale_segment(double equivalent, std::span<const double> y_raw_scores, const ScaleTable& table);

}  // namespace irteq
