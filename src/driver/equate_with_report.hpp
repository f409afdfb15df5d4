#pragma once

#include <functional>
#include <optional>

#include "driver/report_file.hpp"
#include "irteq/equate.hpp"
#include "irteq/files.hpp"
#include "irteq/linking.hpp"
#include "irteq/result.hpp"
#include "irteq/standard_errors.hpp"

namespace irteq {

// What a run shows besides its report.
struct RunMessages {
  LineSink input_warning;                                     // a suspicious line of an input file
  std::function<void(const RootFinderWarning&)> root_finder;  // a failed root search
};

// What a run yields: the linking when the control file names common items,
// and the equating (of the linked form X when linked).
struct RunResult {
  std::optional<LinkingResult> linking;
  EquatingResult equating;
  std::optional<StandardErrors> standard_errors;  // when asked for
};

// The run both modes share, into a report the caller has opened: the inputs
// read and echoed, the linking and its section when the control file names
// common items, the equating, the root finder's warnings, the result
// sections. Throws Error; the report then keeps what was written. When strict,
// an input warning is thrown as an Error (root finder warnings stay results).
// The equating runs with options (its threads). When errors asks for the
// delta method or draws, the covariance files are read and the standard
// errors' section follows the results.
RunResult equate_with_report(const ControlFile& files, ReportFile& report, const RunMessages& messages,
                             bool strict = false, const EquatingOptions& options = {},
                             const StandardErrorOptions& errors = {});

// "irteq: MESSAGE\n", with control characters quoted from a file shown as \xNN
// rather than handed to the terminal.
std::string error_line(std::string_view message);

}  // namespace irteq
