#pragma once

#include <span>
#include <string>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// What would make form Y's raw-to-scale table or w2 unusable; empty strings when they pass.

// w1 = 1 - w2: outside [0, 1] one group would enter the synthetic population with a negative weight.
std::string w2_problem(double w2);
// The conversion's end segments reach down to scale_min - 0.5 and up to
// scale_max + 0.5: a minimum above the maximum turns them around.
std::string scale_limits_problem(int scale_min, int scale_max);
// Beyond 1e15 whole numbers stop being exact in a double, and the moments of such scores overflow.
std::string scale_score_problem(double value);
// "more than 1000 rows; a raw-to-scale table holds at most 1000"
std::string too_many_rows_message();
// Row `row` (from 1) stands for form Y's score point `score_point`, whatever its
// raw column says: a table listed top down, or shifted by one, is a mistake
// the raw column shows, so it draws a warning, from the reader and from
// equate() alike; the run goes on with the rows by position.
// "row 1 gives raw score 1 but stands for form Y's raw score 0; ..."
std::string raw_score_problem(int row, double raw, double score_point);
// "row 12 and any after it are beyond form Y's 11 score points"
std::string rows_beyond_message(int row, std::size_t y_points);

// The warnings a table built in memory draws against form Y's score points,
// named by name: its first row whose raw column disagrees (with how many
// more do), and rows beyond the score points.
std::vector<std::string> scale_table_warnings(const ScaleTable& table, std::span<const double> y_raw_scores,
                                              const std::string& name);
// A table needs one row for each of form Y's score points: "has 40 rows, but form Y has 51 score points; ..."
std::string short_table_problem(long long rows, long long y_points);

}  // namespace irteq
