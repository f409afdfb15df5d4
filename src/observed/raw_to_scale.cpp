#include "observed/raw_to_scale.hpp"

#include "observed/scale_segment.hpp"

namespace irteq {

std::vector<double> raw_to_scale(std::span<const double> equivalents, std::span<const double> y_raw_scores,
                                 const ScaleTable& table) {
  std::vector<double> scale_equivalents(equivalents.size());
  for (std::size_t i = 0; i < equivalents.size(); ++i) {
    const double e = equivalents[i];
    const ScaleSegment segment = scale_segment(e, y_raw_scores, table);
    scale_equivalents[i] = ((e - segment.raw) * segment.rise) / segment.run + segment.scale;
  }
  return scale_equivalents;
}

}  // namespace irteq
