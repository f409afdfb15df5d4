#pragma once

#include <span>

#include "irteq/input.hpp"

namespace irteq {

// The first and second derivatives in theta of an item's category
// probabilities (as category_probabilities computes them, "MU" items already
// converted to "BN"), in category order. Where a model clamps its logit or
// argument, the derivatives are those of the clamped function: zero.
// dp and d2p hold at least as many values as the item has categories.
void category_derivatives(const Item& item, double theta, std::span<double> dp, std::span<double> d2p);

}  // namespace irteq
