#pragma once

#include <span>

#include "irteq/input.hpp"

namespace irteq {

// Category probabilities of one item at theta, in category order, by the
// model the item names ("L3", "SN", "SL" or "BN": "MU" items are converted to
// "BN" before they get here). p holds at least as many values as the item has categories.
void category_probabilities(const Item& item, double theta, std::span<double> p);

}  // namespace irteq
