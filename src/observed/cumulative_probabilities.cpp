#include "observed/cumulative_probabilities.hpp"

namespace irteq {

std::vector<double> cumulative_probabilities(std::span<const double> probabilities) {
  std::vector<double> cumulative(probabilities.size());
  double sum = 0.0;
  for (std::size_t i = 0; i < cumulative.size(); ++i) {
    sum = i == 0 ? probabilities[0] : sum + probabilities[i];
    cumulative[i] = sum;
  }
  return cumulative;
}

}  // namespace irteq
