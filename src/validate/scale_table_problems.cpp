#include "validate/scale_table_problems.hpp"

#include <cmath>

#include "common/shown_number.hpp"
#include "irteq/limits.hpp"

namespace irteq {

namespace {

constexpr double max_scale_score = 1e15;

}  // namespace

std::string w2_problem(double w2) {
  if (w2 >= 0.0 && w2 <= 1.0) return {};
  return "w2 is " + shown_number(w2) + "; the weight of group 2 must lie between 0 and 1";
}

std::string scale_limits_problem(int scale_min, int scale_max) {
  if (scale_min <= scale_max) return {};
  return "the scale score minimum " + std::to_string(scale_min) + " is above the maximum " + std::to_string(scale_max);
}

std::string scale_score_problem(double value) {
  if (std::fabs(value) <= max_scale_score) return {};
  if (!std::isfinite(value)) return "the scale score " + shown_number(value) + " is not a finite number";
  return "the scale score " + shown_number(value) + " is too large; scale scores lie within -1e15 to 1e15";
}

std::string raw_score_problem(int row, double raw, double score_point) {
  if (raw == score_point) return {};
  return "row " + std::to_string(row) + " gives raw score " + shown_number(raw) + " but stands for form Y's raw score " +
         shown_number(score_point) + "; rows pair with score points by position, lowest first";
}

std::string too_many_rows_message() {
  return "more than " + std::to_string(max_score_points) + " rows; a raw-to-scale table holds at most " +
         std::to_string(max_score_points);
}

std::string short_table_problem(long long rows, long long y_points) {
  if (rows >= y_points) return {};
  return "has " + std::to_string(rows) + " rows, but form Y has " + std::to_string(y_points) +
         " score points; it needs one row for each";
}

}  // namespace irteq
