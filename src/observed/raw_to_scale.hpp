#pragma once

#include <span>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// Form Y scale scores of equivalents on form Y's raw score scale, by linear
// interpolation between the table's points, with end segments reaching to
// (y(1) - 0.5, scale_min - 0.5) and (y(nY) + 0.5, scale_max + 0.5). Values
// beyond the ends extend the end lines; nothing is clamped. Table row j
// belongs to form Y's j-th raw score. Each equivalent is converted on the
// segment whose end points bracket it, whatever the order of the equivalents
// (true score equivalents fall where form Y has items with negative slopes).
std::vector<double> raw_to_scale(std::span<const double> equivalents, std::span<const double> y_raw_scores,
                                 const ScaleTable& table);

}  // namespace irteq
