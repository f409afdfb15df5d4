#include "driver/run_equating.hpp"

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "common/report_file.hpp"
#include "common/run_error.hpp"
#include "driver/check_finite_results.hpp"
#include "driver/control_file.hpp"
#include "driver/floating_point_mode.hpp"
#include "driver/run_data.hpp"
#include "driver/run_steps.hpp"
#include "driver/write_results.hpp"

namespace irteq {

namespace {

std::string read_control_file_name(Console& console) {
  console.write_line("Please input the control file name");
  std::string name;
  if (!console.read_line(name)) throw RunError("no control file name: the console input ended");
  const std::size_t end = name.find_last_not_of(' ');
  name.erase(end == std::string::npos ? 0 : end + 1);
  if (name.empty()) throw RunError("no control file name was given");
  return name;
}

void run_sequence(Console& console, std::optional<ReportFile>& report) {
  set_floating_point_mode();
  const std::string control_file_name = read_control_file_name(console);
  const auto run = std::make_unique<RunData>();
  run->file_names = read_control_file(control_file_name);

  report.emplace(run->file_names[slot_output]);
  read_inputs(*run, *report);
  check_run_sizes(*run);
  compute_distributions(*run);
  check_distributions_are_finite(*run);
  compute_equivalents(*run, console);
  check_equivalents_are_finite(*run);
  write_results(*run, *report);

  console.write_line("press return to exit program");
  report->close();
  console.pause();
}

}  // namespace

int run_equating(Console& console, std::ostream& errors) {
  std::optional<ReportFile> report;
  try {
    run_sequence(console, report);
    return 0;
  } catch (const UnknownItemType& error) {
    errors << "irteq: " << error.what() << '\n';
    console.write_line("press return to exit program");
    try {
      if (report) report->close();
    } catch (const RunError& close_error) {
      errors << "irteq: " << close_error.what() << '\n';
    }
    console.pause();
  } catch (const RunError& error) {
    errors << "irteq: " << error.what() << '\n';
  } catch (const std::exception& error) {
    errors << "irteq: internal error: " << error.what() << '\n';
  }
  return 1;
}

}  // namespace irteq
