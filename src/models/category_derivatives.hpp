#pragma once

#include <span>

#include "irteq/input.hpp"

namespace irteq {

// An item's category probabilities at theta, the very values of
// category_probabilities ("MU" items already converted to "BN"), with their
// first and second derivatives in theta, in category order: one pass, so
// that each exponential is taken once. Where a model clamps its logit or
// argument, the derivatives are those of the clamped function: zero.
// p, dp and d2p hold at least as many values as the item has categories.
void category_derivatives(const Item& item, double theta, std::span<double> p, std::span<double> dp,
                          std::span<double> d2p);

}  // namespace irteq
