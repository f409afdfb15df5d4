#pragma once

#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// The items as the models evaluate them: "MU" items rewritten by mu_to_bn as
// the equivalent "BN" items, the others as given.
std::vector<Item> prepare_items(const std::vector<Item>& items);

}  // namespace irteq
