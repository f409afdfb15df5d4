#pragma once

#include <span>

#include "common/score_distribution.hpp"
#include "irteq/input.hpp"

namespace irteq {

// Raw score distribution of a form in a group: the conditional distributions
// weighted over the group's grid (weights normalised to sum to 1), in grid
// order, then normalised to sum to 1.
ScoreDistribution marginal_score_distribution(std::span<const Item> items, const QuadratureGrid& grid);

}  // namespace irteq
