#include "driver/run_dialogue.hpp"

#include <exception>
#include <optional>
#include <string>

#include "driver/command_line.hpp"
#include "driver/report_file.hpp"
#include "driver/run_with_report.hpp"
#include "input/control_records.hpp"
#include "irteq/error.hpp"

namespace irteq {

namespace {

[[noreturn]] void fail(const std::string& message) { throw Error(message, {.code = ErrorCode::file_error}); }

std::string read_control_file_name(Console& console) {
  console.write_line("Please input the control file name");
  std::string name;
  if (!console.read_line(name)) fail("no control file name: the console input ended");
  const std::size_t end = name.find_last_not_of(' ');
  name.erase(end == std::string::npos ? 0 : end + 1);
  if (name.empty()) fail("no control file name was given");
  // A path cannot hold a NUL: opening would silently use the part before it.
  if (name.find('\0') != std::string::npos) fail("the control file name holds a NUL character");
  return name;
}

void run_sequence(Console& console, std::ostream& errors, std::optional<ReportFile>& report) {
  const std::string control_file_name = read_control_file_name(console);
  const ControlFile files = read_control_records(control_file_name);
  check_report_is_not_an_input(files, control_file_name);
  report.emplace(files.output);
  const RunMessages messages{
      .input_warning = [&](std::string_view warning) { errors << error_line("warning: " + std::string(warning)); },
      .root_finder = [&](const RootFinderWarning& warning) {
        console.warn_and_pause(root_finder_message(warning.problem));
      }};
  run_with_report(files, *report, messages, false, {.equating = {.threads = available_cores()}});
  console.write_line("press return to exit program");
  report->close();
  console.pause();
}

}  // namespace

int run_dialogue(Console& console, std::ostream& errors) {
  std::optional<ReportFile> report;
  try {
    run_sequence(console, errors, report);
    return 0;
  } catch (const Error& error) {
    errors << error_line(error.what());
    if (error.diagnostic().code == ErrorCode::unknown_item_type) {
      // The report ends with "bad item type read in: "; the console waits once more.
      console.write_line("press return to exit program");
      try {
        if (report) report->close();
      } catch (const Error& close_error) {
        errors << error_line(close_error.what());
      }
      console.pause();
    }
  } catch (const std::exception& error) {
    errors << error_line(std::string("internal error: ") + error.what());
  }
  return 1;
}

}  // namespace irteq
