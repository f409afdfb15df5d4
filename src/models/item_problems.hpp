#pragma once

#include <span>
#include <string>
#include <string_view>

#include "irteq/input.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

// What would make an item unusable, one check at a time, in the order an
// item parameter file gives an item's values; each returns an empty string
// when the item passes. The file reader makes each check as soon as it has
// read what it needs; validate() makes them all, in the same order.

// One of the models of ItemModel: a value cast from another number has no
// probabilities and no parameter count.
std::string model_problem(ItemModel model);
// 1 to max_categories categories.
std::string category_count_problem(int m);
// An "L3" item has two categories; the parameters a model needs must fit max_parameters.
std::string model_category_problem(ItemModel model, int m);
// The first score must be the lowest and the last the highest: the form's range comes from them.
std::string score_order_problem(std::span<const int> scores);
// Parameters that would give probabilities outside [0, 1]: an "L3" lower
// asymptote outside [0, 1], or graded ("SN", "SL") thresholds that run
// against the sign of the slope.
std::string parameter_problem(ItemModel model, int m, std::span<const double> parameters);

// An item built in memory with another number of parameters than its model takes.
std::string parameter_count_problem(ItemModel model, int m, std::size_t count);

// "item 3 (number 103, SN, 4 categories)": an item as messages name it, by
// position from 1, number as written, type code and category count; with a
// label, "item 3 (number 103, label R05001, SN, 4 categories)".
std::string item_label(int position, int number, std::string_view code, int m, std::string_view label = {});

// "unknown item type code 'XX'; the codes are L3, SN, SL, BN and MU"
std::string unknown_code_message(std::string_view code);

}  // namespace irteq
