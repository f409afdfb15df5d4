#include "driver/run_batch.hpp"

#include <exception>

#include "driver/equate_with_report.hpp"
#include "driver/report_file.hpp"
#include "irteq/error.hpp"

namespace irteq {

int run_batch(const std::string& control_file, const std::optional<std::string>& csv_folder, std::ostream& errors) {
  std::optional<ReportFile> report;
  try {
    const ControlFile files = read_control(control_file);
    report.emplace(files.output);
    const auto warn = [&](const std::string& warning) { errors << error_line("warning: " + warning); };
    const RunMessages messages{
        .input_warning = [&](std::string_view warning) { warn(std::string(warning)); },
        .root_finder = [&](const RootFinderWarning& warning) { warn(warning_message(warning)); }};
    const EquatingResult result = equate_with_report(files, *report, messages);
    report->close();
    if (csv_folder) write_csv(result, *csv_folder);
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
  return 1;
}

}  // namespace irteq
