#pragma once

#include <string>

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
// the raw column shows. The reader warns of it; validate() turns it away.
// "row 1 gives raw score 1 but stands for form Y's raw score 0; ..."
std::string raw_score_problem(int row, double raw, double score_point);
// A table needs one row for each of form Y's score points: "has 40 rows, but form Y has 51 score points; ..."
std::string short_table_problem(long long rows, long long y_points);

}  // namespace irteq
