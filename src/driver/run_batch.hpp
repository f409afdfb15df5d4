#pragma once

#include <ostream>

#include "driver/command_line.hpp"

namespace irteq {

// The run from the command line: never reads standard input; names in the
// control file resolve against its folder; each warning is one line on
// errors, or with strict the end of the run when it concerns an input. With
// a CSV folder, the results are also written there as CSV once the report is
// complete, and a failed run removes the CSV files there. Returns the exit
// status: 0 on success, 1 when the run failed (the report keeps what was
// written).
int run_batch(const CommandLine& line, std::ostream& errors);

}  // namespace irteq
