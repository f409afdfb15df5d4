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

std::string rows_beyond_message(int row, std::size_t y_points) {
  return "row " + std::to_string(row) + " and any after it are beyond form Y's " + std::to_string(y_points) +
         " score points";
}

std::vector<std::string> scale_table_warnings(const ScaleTable& table, std::span<const double> y_raw_scores,
                                              const std::string& name) {
  std::vector<std::string> warnings;
  std::string first;
  std::size_t more = 0;
  for (std::size_t j = 0; j < table.raw.size() && j < y_raw_scores.size(); ++j) {
    const std::string problem = raw_score_problem(static_cast<int>(j + 1), table.raw[j], y_raw_scores[j]);
    if (problem.empty()) continue;
    if (first.empty()) {
      first = problem;
    } else {
      ++more;
    }
  }
  if (!first.empty()) {
    warnings.push_back(name + ": " + first +
                       (more == 0 ? "" : " (and " + std::to_string(more) + (more == 1 ? " row" : " rows") + " more)"));
  }
  if (table.scale.size() > y_raw_scores.size()) {
    warnings.push_back(name + ": " + rows_beyond_message(static_cast<int>(y_raw_scores.size() + 1), y_raw_scores.size()) +
                       ": not used");
  }
  return warnings;
}

}  // namespace irteq
