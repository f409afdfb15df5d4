#pragma once

#include "common/item_set.hpp"

namespace irteq {

// Expected raw score of a form at theta: one running sum over the items in
// file order and their categories in order of score times probability.
double test_characteristic_function(const ItemSet& items, double theta);

}  // namespace irteq
