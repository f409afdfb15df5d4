// Slopes of the piecewise linear raw-to-scale conversion, on the segment
// raw_to_scale converts each equivalent on. The conversion never clamps, so
// every segment has its own slope.
#include "standard_errors/scale_slopes.hpp"

#include "observed/scale_segment.hpp"

namespace irteq {

std::vector<double> scale_slopes(std::span<const double> equivalents, std::span<const double> y_raw_scores,
                                 const ScaleTable& table) {
  std::vector<double> slopes(equivalents.size());
  for (std::size_t i = 0; i < equivalents.size(); ++i) {
    const ScaleSegment segment = scale_segment(equivalents[i], y_raw_scores, table);
    slopes[i] = segment.rise / segment.run;
  }
  return slopes;
}

}  // namespace irteq
