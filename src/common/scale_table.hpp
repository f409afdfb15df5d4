#pragma once

#include <array>

#include "common/limits.hpp"

namespace irteq {

// Form Y's raw-to-scale conversion. Row k belongs to form Y's k-th score
// point, counted from its lowest possible raw score.
struct ScaleTable {
  int row_count = 0;
  std::array<double, max_score_points> raw{};
  std::array<double, max_score_points> scale{};
  std::array<double, max_score_points> rounded{};
  int scale_min = 0;
  int scale_max = 0;
};

}  // namespace irteq
