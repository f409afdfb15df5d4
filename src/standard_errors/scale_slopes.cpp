// Slopes of the piecewise linear raw-to-scale conversion, segment chosen as
// raw_to_scale chooses it: by the number of form Y raw scores below the
// equivalent. The conversion never clamps, so every segment has its own slope.
#include "standard_errors/scale_slopes.hpp"

#include <algorithm>

namespace irteq {

std::vector<double> scale_slopes(std::span<const double> equivalents, std::span<const double> y_raw_scores,
                                 const ScaleTable& table) {
  const double lo = static_cast<double>(table.scale_min) - 0.5;
  const double hi = static_cast<double>(table.scale_max) + 0.5;
  const std::size_t ny = y_raw_scores.size();
  const auto y = [&](std::size_t k) { return y_raw_scores[k - 1]; };  // 1-based, as in raw_to_scale
  const auto sc = [&](std::size_t k) { return table.scale[k - 1]; };
  std::vector<double> slopes(equivalents.size());
  for (std::size_t i = 0; i < equivalents.size(); ++i) {
    const auto k = static_cast<std::size_t>(
        std::lower_bound(y_raw_scores.begin(), y_raw_scores.end(), equivalents[i]) - y_raw_scores.begin());
    if (k == 0) {
      slopes[i] = (sc(1) - lo) / 0.5;
    } else if (k < ny) {
      slopes[i] = (sc(k + 1) - sc(k)) / (y(k + 1) - y(k));
    } else {
      slopes[i] = (hi - sc(ny)) / 0.5;
    }
  }
  return slopes;
}

}  // namespace irteq
