#include "observed/adjust_zero_probabilities.hpp"

namespace irteq {

bool adjust_zero_probabilities(std::span<double> probabilities) {
  constexpr double zero_probability = 1e-8;
  bool adjust = false;
  for (const double f : probabilities) {
    if (f < zero_probability || f != f) adjust = true;
  }
  if (!adjust) return false;
  const double divisor = static_cast<double>(probabilities.size()) * zero_probability + 1.0;
  for (double& f : probabilities) f = (f + zero_probability) / divisor;
  return true;
}

}  // namespace irteq
