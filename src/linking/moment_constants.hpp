#pragma once

#include <span>
#include <vector>

#include "irteq/linking.hpp"
#include "linking/common_item_pairs.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

// The mean/mean or mean/sigma constants of the common items, from their
// slopes (the a of "L3", "SN", "SL" and "MU" items) and locations ("L3" b;
// "SN" and "SL" every b(k); "MU" every b - d(k) for k = 2..m); "BN" items
// take no part. mean/mean: A = mean(a_X) / mean(a_Y); mean/sigma:
// A = sd(b_Y) / sd(b_X), divisor n; both B = mean(b_Y) - A mean(b_X). Not
// available, with the reason, when the items give no such A > 0.
// The mean and the standard deviation (divisor n) of pooled slopes or
// locations, each one sum in their order from 0.
double mean(std::span<const MomentTerm> values);
double standard_deviation(std::span<const MomentTerm> values);

MethodConstants moment_constants(LinkingMethod method, std::span<const Item> items_x, std::span<const Item> items_y,
                                 std::span<const CommonItemPositions> common);

}  // namespace irteq
