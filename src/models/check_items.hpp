#pragma once

#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/input.hpp"

namespace irteq {

// The checks of a form's items built in memory, the file reader's checks in
// the same order and words: at least one item and at most max_items, each
// item's model, categories, score order, parameter count, finite values and
// the values its model can use. Throws Error naming the item, its
// diagnostic's input set to `input`.
void check_items(const std::vector<Item>& items, const std::string& name, InputPart input);

}  // namespace irteq
