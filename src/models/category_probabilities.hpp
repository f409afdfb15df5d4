#pragma once

#include <span>

#include "common/item_set.hpp"

namespace irteq {

// Category probabilities of one item at theta, in category order, by the
// model its type code names ("L3", "SN", "SL" or "BN"). p holds at least
// category_count values.
void category_probabilities(const Item& item, double theta, std::span<double> p);

}  // namespace irteq
