#pragma once

#include <functional>
#include <ostream>

namespace irteq {

// Whether out is standard error and standard error is a terminal: progress
// is shown there only, never into a log file or a pipe.
bool is_terminal(const std::ostream& out);

// A progress callback for the draws that rewrites one line of out,
// "irteq: draws 250 of 1000", at each whole percent, ending it when all are done.
std::function<bool(int done, int total)> draw_progress(std::ostream& out);

}  // namespace irteq
