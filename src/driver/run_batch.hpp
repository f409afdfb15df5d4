#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace irteq {

// The run from the command line: never reads standard input; names in the
// control file resolve against its folder; each warning is one line on
// errors. With a CSV folder, the results are also written there as CSV once
// the report is complete. Returns the exit status: 0 on success, 1 when the
// run failed (the report keeps what was written).
int run_batch(const std::string& control_file, const std::optional<std::string>& csv_folder, std::ostream& errors);

}  // namespace irteq
