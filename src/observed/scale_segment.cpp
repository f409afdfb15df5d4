#include "observed/scale_segment.hpp"

#include <algorithm>

namespace irteq {

ScaleSegment scale_segment(double equivalent, std::span<const double> y_raw_scores, const ScaleTable& table) {
  const std::size_t ny = y_raw_scores.size();
  const auto y = [&](std::size_t k) { return y_raw_scores[k - 1]; };  // 1-based, as the segments are numbered
  const auto sc = [&](std::size_t k) { return table.scale[k - 1]; };
  // k: the number of form Y raw scores below the equivalent.
  const auto k = static_cast<std::size_t>(std::lower_bound(y_raw_scores.begin(), y_raw_scores.end(), equivalent) -
                                          y_raw_scores.begin());
  if (k == 0) {
    const double lo = static_cast<double>(table.scale_min) - 0.5;
    return {y(1) - 0.5, lo, sc(1) - lo, 0.5};
  }
  if (k < ny) return {y(k), sc(k), sc(k + 1) - sc(k), y(k + 1) - y(k)};
  const double hi = static_cast<double>(table.scale_max) + 0.5;
  return {y(ny), sc(ny), hi - sc(ny), 0.5};
}

}  // namespace irteq
