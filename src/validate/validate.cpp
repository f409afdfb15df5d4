// The checks of an equating's input, made before anything is computed, so
// that no routine after them meets sizes or values it cannot handle. The file
// readers make the same checks as they read; these catch input built in memory.
#include <cmath>
#include <string>

#include "common/number_text.hpp"
#include "common/score_range.hpp"
#include "common/shown_number.hpp"
#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "irteq/limits.hpp"
#include "irteq/validate.hpp"
#include "models/check_items.hpp"
#include "validate/grid_problems.hpp"
#include "validate/scale_table_problems.hpp"

namespace irteq {

namespace {

[[noreturn]] void fail(const std::string& source, const std::string& what, Diagnostic where) {
  where.source = source;
  throw Error(source + ": " + what, where);
}

void check_grid(const QuadratureGrid& grid, const std::string& name, InputPart input) {
  const Diagnostic where{.code = ErrorCode::invalid_input, .input = input};
  if (grid.points.size() != grid.weights.size()) {
    fail(name, std::to_string(grid.points.size()) + " points but " + std::to_string(grid.weights.size()) + " weights",
         where);
  }
  if (grid.points.empty()) fail(name, "the grid holds no quadrature points", where);
  if (grid.points.size() > static_cast<std::size_t>(max_quadrature_points)) {
    fail(name, too_many_points_message(), {.code = ErrorCode::limit_exceeded, .input = input});
  }
  for (std::size_t j = 0; j < grid.points.size(); ++j) {
    const int row = static_cast<int>(j + 1);
    const std::string point = "point " + std::to_string(row) + ": ";
    if (!std::isfinite(grid.points[j]) || !std::isfinite(grid.weights[j])) {
      fail(name, point + "the ability " + shown_number(grid.points[j]) + " and weight " + shown_number(grid.weights[j]) +
                     " must be finite numbers",
           {.code = ErrorCode::invalid_input, .input = input, .row = row});
    }
    const std::string problem = weight_problem(grid.weights[j]);
    if (!problem.empty()) fail(name, point + problem, {.code = ErrorCode::invalid_input, .input = input, .row = row});
  }
  const std::string problem = weight_sum_problem(grid.weights);
  if (!problem.empty()) fail(name, problem, where);
}

void check_scale_table(const ScaleTable& table, double w2, const std::string& name, InputPart input) {
  const Diagnostic where{.code = ErrorCode::invalid_input, .input = input};
  for (const std::string& problem : {scale_limits_problem(table.scale_min, table.scale_max), w2_problem(w2)}) {
    if (!problem.empty()) fail(name, problem, where);
  }
  if (table.scale.size() != table.rounded.size() || (!table.raw.empty() && table.raw.size() != table.scale.size())) {
    fail(name, std::to_string(table.raw.size()) + " raw scores, " + std::to_string(table.scale.size()) +
                   " scale scores and " + std::to_string(table.rounded.size()) +
                   " rounded scale scores; every row needs its scale and rounded scale score",
         where);
  }
  if (table.scale.size() > static_cast<std::size_t>(max_score_points)) {
    fail(name, too_many_rows_message(), {.code = ErrorCode::limit_exceeded, .input = input});
  }
  for (std::size_t j = 0; j < table.scale.size(); ++j) {
    for (const double value : {table.scale[j], table.rounded[j]}) {
      const std::string problem = scale_score_problem(value);
      const int row = static_cast<int>(j + 1);
      if (!problem.empty()) {
        fail(name, "row " + std::to_string(row) + ": " + problem,
             {.code = ErrorCode::invalid_input, .input = input, .row = row});
      }
    }
  }
}

ScoreRange checked_score_range(const std::vector<Item>& items, const char* form, const std::string& name,
                               InputPart input) {
  const ScoreRange range = score_range(items);
  if (range.point_count() > max_score_points) {
    fail(name, std::string(form) + " has raw scores from " + std::to_string(range.lowest) + " to " +
                   std::to_string(range.highest) + ", " + std::to_string(range.point_count()) +
                   " score points; a form may have at most " + std::to_string(max_score_points),
         {.code = ErrorCode::limit_exceeded, .input = input});
  }
  return range;
}

}  // namespace

void validate_grid(const QuadratureGrid& grid, const std::string& name) { check_grid(grid, name, InputPart::none); }

void validate_scale_table(const ScaleTable& table, double w2, const std::string& name) {
  check_scale_table(table, w2, name, InputPart::none);
}

void validate_root_tolerance(double tolerance) {
  // Written so that NaN fails too.
  if (!(tolerance > 0.0 && tolerance <= default_root_tolerance)) {
    throw Error("root_tolerance is " + shortest_text(tolerance) +
                    "; the theta tolerance of true score equating must lie above 0 and at most " +
                    shortest_text(default_root_tolerance),
                {.code = ErrorCode::invalid_input});
  }
}

void validate(const EquatingInput& input) {
  const InputNames& names = input.names;
  check_items(input.items_y, names.items_y, InputPart::items_y);
  check_grid(input.grid_group2, names.grid_group2, InputPart::grid_group2);
  check_scale_table(input.scale_table, input.w2, names.scale_table, InputPart::scale_table);
  check_items(input.items_x, names.items_x, InputPart::items_x);
  check_grid(input.grid_group1, names.grid_group1, InputPart::grid_group1);

  const ScoreRange y = checked_score_range(input.items_y, "form Y", names.items_y, InputPart::items_y);
  checked_score_range(input.items_x, "form X", names.items_x, InputPart::items_x);
  const ScaleTable& table = input.scale_table;
  const std::string problem = short_table_problem(static_cast<long long>(table.scale.size()), y.point_count());
  if (!problem.empty()) {
    throw Error(names.scale_table + " " + problem,
                {.code = ErrorCode::invalid_input, .input = InputPart::scale_table, .source = names.scale_table});
  }
  // Rows pair with score points by position: a raw column that says otherwise draws a warning (scale_table_warnings).
}

}  // namespace irteq
