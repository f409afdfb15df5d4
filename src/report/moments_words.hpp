#pragma once

#include <string_view>

#include "irteq/result.hpp"

namespace irteq {

// The words of a moments row in moments.csv and in R: block raw, scale,
// rounded; group 1, 2, s; score X, Y, true, observed. The report's group
// column shows the same group words.
std::string_view block_word(MomentsBlock block);
std::string_view group_word(MomentsGroup group);
std::string_view score_word(MomentsScore score);

}  // namespace irteq
