#pragma once

#include <span>
#include <vector>

namespace irteq {

// The running sums of a distribution's probabilities, lowest score first:
// the cumulative distribution the equipercentile step reads.
std::vector<double> cumulative_probabilities(std::span<const double> probabilities);

}  // namespace irteq
