#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "irteq/linking.hpp"

namespace irteq {

// A common item by its positions in form X's and form Y's item lists.
struct CommonItemPositions {
  std::size_t x = 0;
  std::size_t y = 0;
};

// How messages name a pair's item of form X (or Y): its number, or its label quoted ('R05001').
std::string pair_item_name(const CommonItemPair& pair, bool form_x);

// The pairs of input.common as positions in forms' items, after checking that each number
// or label names exactly one item of its form, that no item is in two pairs, that the
// two items of a pair are one item (model, categories, category scores, D)
// and that there are at least two pairs. Throws Error naming the pair.
std::vector<CommonItemPositions> common_item_positions(const EquatingInput& forms, const LinkingInput& input);

}  // namespace irteq
