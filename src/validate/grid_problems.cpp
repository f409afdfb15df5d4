#include "validate/grid_problems.hpp"

#include <cmath>

#include "common/shown_number.hpp"
#include "irteq/limits.hpp"

namespace irteq {

std::string weight_problem(double weight) {
  if (weight < 0.0) return "the quadrature weight " + shown_number(weight) + " is negative";
  return {};
}

std::string weight_sum_problem(std::span<const double> weights) {
  double sum = 0.0;
  for (const double weight : weights) sum += weight;
  if (sum == 0.0 || !std::isfinite(sum)) {
    return "the quadrature weights add up to " + shown_number(sum) + "; they must have a finite sum other than zero";
  }
  return {};
}

std::string too_many_points_message() {
  return "more than " + std::to_string(max_quadrature_points) + " quadrature points; a grid holds at most " +
         std::to_string(max_quadrature_points);
}

}  // namespace irteq
