#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "driver/report_file.hpp"
#include "irteq/files.hpp"
#include "irteq/run.hpp"

namespace irteq {

// What a run shows besides its report.
struct RunMessages {
  LineSink input_warning;                                     // a suspicious line of an input file
  std::function<void(const RootFinderWarning&)> root_finder;  // a failed root search
};

// The run both modes share, into a report the caller has opened: the inputs
// read and echoed (read_run), the covariance files read when options ask for
// standard errors, run(), the root finder's warnings, and the report's
// sections (write_report). Throws Error; the report then keeps what was
// written. When strict, an input warning is thrown as an Error (root finder
// warnings stay results).
RunResult run_with_report(const ControlFile& files, ReportFile& report, const RunMessages& messages, bool strict,
                          RunOptions options);

// "irteq: MESSAGE\n", with control characters quoted from a file shown as \xNN
// rather than handed to the terminal.
std::string error_line(std::string_view message);

}  // namespace irteq
