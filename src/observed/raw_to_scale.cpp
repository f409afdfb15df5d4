#include "observed/raw_to_scale.hpp"

#include <algorithm>

namespace irteq {

std::vector<double> raw_to_scale(std::span<const double> equivalents, std::span<const double> y_raw_scores,
                                 const ScaleTable& table) {
  const double lo = static_cast<double>(table.scale_min) - 0.5;
  const double hi = static_cast<double>(table.scale_max) + 0.5;
  const std::size_t ny = y_raw_scores.size();
  const auto y = [&](std::size_t k) { return y_raw_scores[k - 1]; };  // 1-based, as the segments are numbered
  const auto sc = [&](std::size_t k) { return table.scale[k - 1]; };
  std::vector<double> scale_equivalents(equivalents.size());
  for (std::size_t i = 0; i < equivalents.size(); ++i) {
    const double e = equivalents[i];
    // k: the number of form Y raw scores below e, which selects the segment.
    const auto k = static_cast<std::size_t>(std::lower_bound(y_raw_scores.begin(), y_raw_scores.end(), e) -
                                            y_raw_scores.begin());
    double s;
    if (k == 0) {
      s = ((e - (y(1) - 0.5)) * (sc(1) - lo)) / 0.5 + lo;
    } else if (k < ny) {
      s = ((e - y(k)) * (sc(k + 1) - sc(k))) / (y(k + 1) - y(k)) + sc(k);
    } else {
      s = ((e - y(ny)) * (hi - sc(ny))) / 0.5 + sc(ny);
    }
    scale_equivalents[i] = s;
  }
  return scale_equivalents;
}

}  // namespace irteq
