#pragma once

#include <span>

#include "irteq/input.hpp"

namespace irteq {

// Expected raw score of a form at theta: one running sum over the items in
// file order and their categories in order of score times probability.
double test_characteristic_function(std::span<const Item> items, double theta);

}  // namespace irteq
