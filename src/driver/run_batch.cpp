#include "driver/run_batch.hpp"

#include <exception>
#include <optional>

#include "driver/draw_progress.hpp"
#include "driver/report_file.hpp"
#include "driver/run_with_report.hpp"
#include "irteq/error.hpp"
#include "report/csv_files.hpp"

namespace irteq {

int run_batch(const CommandLine& line, std::ostream& errors) {
  std::optional<ReportFile> report;
  try {
    const ControlFile files = read_control(line.control_file);
    report.emplace(files.output);
    const auto warn = [&](const std::string& warning) { errors << error_line("warning: " + warning); };
    const RunMessages messages{
        .input_warning = [&](std::string_view warning) { warn(std::string(warning)); },
        .root_finder = [&](const RootFinderWarning& warning) { warn(warning_message(warning)); }};
    RunOptions options{.equating = {.threads = line.threads, .root_tolerance = line.root_tolerance},
                       .standard_errors = {.delta_method = line.delta_method, .draws = line.draws,
                                           .seed = line.seed, .threads = line.threads},
                       .tables = line.tables};
    if (line.draws > 0 && is_terminal(errors)) options.standard_errors.progress = draw_progress(errors);
    RunResult result = run_with_report(files, *report, messages, line.strict, options);
    result.record.front_end = line.command;
    result.record.options.insert(result.record.options.begin(), {"strict", line.strict ? "true" : "false"});
    report->close();
    if (result.standard_errors) {
      if (const std::string redraws = redraws_warning(*result.standard_errors); !redraws.empty()) warn(redraws);
    }
    if (line.csv_folder) write_csv(result, *line.csv_folder);
    return 0;
  } catch (const Error& error) {
    errors << error_line(error.what());
  } catch (const std::exception& error) {
    errors << error_line(std::string("internal error: ") + error.what());
  }
  // The report keeps what was written before the failure.
  try {
    if (report) report->close();
  } catch (const Error& error) {
    errors << error_line(error.what());
  }
  // A script must not find last week's CSV files beside this week's failure.
  try {
    if (line.csv_folder) remove_csv_files(*line.csv_folder);
  } catch (const Error& error) {
    errors << error_line(error.what());
  }
  return 1;
}

}  // namespace irteq
