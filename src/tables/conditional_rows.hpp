#pragma once

#include <span>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// A form's raw score distribution given each theta, row-major: row q holds
// L_x(theta_q) for every score point x from the form's lowest raw score.
// Items as the models evaluate them (prepare_items). The rows are the very
// bits the marginal distributions add up.
struct ConditionalRows {
  std::size_t points = 0;
  std::vector<double> values;
  std::span<const double> row(std::size_t q) const { return std::span(values).subspan(q * points, points); }
};

ConditionalRows conditional_rows(std::span<const Item> prepared, std::span<const double> thetas);

// sqrt(sum_x L_x (s_x - m)^2), m = sum_x L_x s_x: the standard deviation of
// scores s given one row of conditional probabilities L, in score order.
double conditional_sd(std::span<const double> row, std::span<const double> scores);

// sum_x p_x s_x and sum_x p_x (s_x - mean)^2 over a distribution p.
double weighted_mean(std::span<const double> probabilities, std::span<const double> scores);
double weighted_variance(std::span<const double> probabilities, std::span<const double> scores);

}  // namespace irteq
