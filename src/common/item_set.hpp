#pragma once

#include <array>

#include "common/limits.hpp"

namespace irteq {

// Two-letter item type code, as read ("L3", "SN", "SL", "BN"; "MU" is held as "BN").
using TypeCode = std::array<char, 2>;

inline constexpr TypeCode code_l3{'L', '3'};
inline constexpr TypeCode code_sn{'S', 'N'};
inline constexpr TypeCode code_sl{'S', 'L'};
inline constexpr TypeCode code_bn{'B', 'N'};
inline constexpr TypeCode code_mu{'M', 'U'};

struct Item {
  TypeCode type_code{' ', ' '};
  int category_count = 0;
  std::array<int, max_categories> category_scores{};  // lowest first, highest last
  std::array<double, max_parameters> parameters{};
};

// The items of one form, in file order.
struct ItemSet {
  int item_count = 0;
  std::array<Item, max_items> items{};
};

}  // namespace irteq
