#pragma once

#include <span>

#include "common/score_distribution.hpp"
#include "irteq/input.hpp"

namespace irteq {

// Raw score distribution of a form in a group: the conditional distributions
// weighted over the group's grid (weights normalised to sum to 1), in grid
// order, then normalised to sum to 1.
ScoreDistribution marginal_score_distribution(std::span<const Item> items, const QuadratureGrid& grid);

// The same from the conditional distributions computed beforehand (by
// conditional_score_distributions, perhaps on other threads): the one at grid
// point j in conditionals[j * n .. (j + 1) * n - 1], n the form's score points.
// The sums run as in marginal_score_distribution, so the results are the same.
ScoreDistribution marginal_from_conditionals(std::span<const Item> items, const QuadratureGrid& grid,
                                             std::span<const double> conditionals);

}  // namespace irteq
