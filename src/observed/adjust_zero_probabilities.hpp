#pragma once

#include <span>

namespace irteq {

// Before equipercentile equating: a distribution with any probability below
// 1e-8 (or not a number) has every probability f replaced by
// (f + 1e-8) / (n * 1e-8 + 1), so that no score interval has zero width.
// Returns whether it changed the distribution.
bool adjust_zero_probabilities(std::span<double> probabilities);

}  // namespace irteq
