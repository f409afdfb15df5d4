#include "input/item_parameter_problem.hpp"

#include "common/shown_number.hpp"

namespace irteq {

namespace {

// Graded thresholds b(1..m-1) start at first_threshold; slope is the
// product that multiplies theta - b(k).
std::string graded_problem(int m, std::span<const double> parameters, std::size_t first_threshold, double slope) {
  for (int k = 1; k + 1 < m; ++k) {
    const double b = parameters[first_threshold + static_cast<std::size_t>(k - 1)];
    const double next = parameters[first_threshold + static_cast<std::size_t>(k)];
    // P(category k+1 or higher) must not exceed P(category k or higher).
    if (slope * (next - b) < 0.0) {
      return "the thresholds b(" + std::to_string(k) + ") = " + shown_number(b) + " and b(" + std::to_string(k + 1) +
             ") = " + shown_number(next) + " give category " + std::to_string(k + 1) +
             " a negative probability; with a " + (slope > 0.0 ? "positive" : "negative") + " slope they must not " +
             (slope > 0.0 ? "decrease" : "increase");
    }
  }
  return {};
}

}  // namespace

std::string item_parameter_problem(const TypeCode& code, int m, std::span<const double> parameters) {
  if (code == code_l3) {
    const double c = parameters[3];
    if (!(c >= 0.0 && c <= 1.0)) return "the lower asymptote c = " + shown_number(c) + " must lie between 0 and 1";
    return {};
  }
  if (code == code_sn) return graded_problem(m, parameters, 1, parameters[0]);
  if (code == code_sl) return graded_problem(m, parameters, 2, parameters[0] * parameters[1]);
  return {};
}

}  // namespace irteq
