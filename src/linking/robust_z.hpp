#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "irteq/input.hpp"
#include "linking/common_item_pairs.hpp"

namespace irteq {

// The robust z of the common items' parameter differences (Huynh and Meyer,
// 2010), each kind pooled over the pairs: slope differences ln a_Y - ln a_X*
// of the items with one slope, location differences b_Y - b_X* (an "L3"
// item's b, each b(k) of "SN" and "SL" items, each step b - d(k), k = 2..m,
// of "MU" items), X* the linked form X item. For a difference d of its kind,
// z = (d - median) / max(0.74 IQR, 1e-6), median and quartiles of type 7:
// 0.74 IQR estimates a normal spread, and a spread below 1e-6 is rounding,
// not drift (an exact transformation would otherwise give noise over noise).
struct RobustZ {
  std::vector<std::optional<double>> slope;     // per pair
  std::vector<std::optional<double>> location;  // per pair: its location z of largest magnitude, sign kept
  std::vector<std::string> notes;               // why some or all are missing
};

// Items as read ("MU" as "MU"): linked form X items and form Y items. A pair
// whose slope is not above 0 in either form has no slope difference, "BN"
// items have neither kind, and a kind with fewer than 3 values gives none.
RobustZ robust_z(std::span<const Item> linked_x, std::span<const Item> items_y,
                 std::span<const CommonItemPositions> common);

}  // namespace irteq
