#include "observed/round_scale_scores.hpp"

#include <cmath>

namespace irteq {

std::vector<double> round_scale_scores(std::span<const double> scale_equivalents) {
  std::vector<double> rounded(scale_equivalents.size());
  for (std::size_t i = 0; i < scale_equivalents.size(); ++i) {
    const double s = scale_equivalents[i];
    rounded[i] = s >= 0.0 ? std::trunc(s + 0.5) : -std::trunc(std::fabs(s) + 0.5);
  }
  return rounded;
}

}  // namespace irteq
