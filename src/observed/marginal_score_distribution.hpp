#pragma once

#include "common/item_set.hpp"
#include "common/quadrature_grid.hpp"
#include "common/score_distribution.hpp"

namespace irteq {

// Raw score distribution of a form in a group: the conditional distributions
// weighted over the group's grid, in grid order, then normalised to sum to 1.
void marginal_score_distribution(const ItemSet& items, const QuadratureGrid& grid, ScoreDistribution& result);

}  // namespace irteq
