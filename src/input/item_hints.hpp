#pragma once

#include <span>
#include <string>
#include <string_view>

namespace irteq {

// A wrong number of categories or values in one item shows up on the next:
// its header read takes the values left over, or too few were left. What the
// item before took, for the messages of the next item's start:
// "; likely cause: the item before, item 2 (number 2, SN, 3 categories), took
// the category scores 0 1 2 and the parameters 0.9 -1 0.5 (lines 5 to 7): ...".
std::string item_before_hint(std::string_view label, std::span<const int> scores, std::span<const double> parameters,
                             int first_line, int last_line);

// For an item whose header line holds more numbers: likely one item per line.
std::string_view layout_hint();

// A type code that is a number: the header read took values of another read.
bool looks_like_a_number(std::string_view code);

}  // namespace irteq
