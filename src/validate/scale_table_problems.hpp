#pragma once

#include <string>

namespace irteq {

// What would make form Y's raw-to-scale table or w2 unusable; empty strings when they pass.

// w1 = 1 - w2: outside [0, 1] one group would enter the synthetic population with a negative weight.
std::string w2_problem(double w2);
// Beyond 1e15 whole numbers stop being exact in a double, and the moments of such scores overflow.
std::string scale_score_problem(double value);
// "more than 1000 rows; a raw-to-scale table holds at most 1000"
std::string too_many_rows_message();
// A table needs one row for each of form Y's score points: "has 40 rows, but form Y has 51 score points; ..."
std::string short_table_problem(long long rows, long long y_points);

}  // namespace irteq
