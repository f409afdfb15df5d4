#pragma once

#include <span>
#include <vector>

#include "irteq/linking.hpp"
#include "linking/common_item_pairs.hpp"

namespace irteq {

// Per common item: sqrt(sum_q w_q (E_Y(theta_q) - E_X*(theta_q))^2), the
// root-mean-square difference of its form Y expected item score and its
// linked form X expected item score over group 2's grid (weights normalised),
// and the signed mean sum_q w_q (E_Y(theta_q) - E_X*(theta_q)); the model
// is the linked item's, "BN" for "MU". The other statistics are left empty.
// Items as the models evaluate them: linked form X items and form Y items,
// "MU" items as "BN".
std::vector<AnchorFit> anchor_fit(std::span<const Item> linked_x, std::span<const Item> items_y,
                                  std::span<const CommonItemPositions> common, const QuadratureGrid& group2);

}  // namespace irteq
