#pragma once

#include <span>

#include "common/console.hpp"
#include "common/item_set.hpp"

namespace irteq {

// IRT true score equating of form X to form Y: for each form X score point,
// the theta at which form X's test characteristic function equals it (-99 at
// the lowest point and in the linear region below the chance score, 99 at
// the top point) and form Y's true score at that theta. scores_x and scores_y
// are the forms' raw score points; thetas and equivalents hold one entry per
// form X point.
void true_score_equivalents(const ItemSet& items_y, const ItemSet& items_x, std::span<const double> scores_x,
                            std::span<const double> scores_y, std::span<double> thetas,
                            std::span<double> equivalents, Console& console);

// Sum over the form's "L3" items of the score of a correct response times the lower asymptote.
double chance_score(const ItemSet& items);

}  // namespace irteq
