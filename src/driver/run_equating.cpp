#include "driver/run_equating.hpp"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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
  // A path cannot hold a NUL: opening would silently use the part before it.
  if (name.find('\0') != std::string::npos) throw RunError("the control file name holds a NUL character");
  return name;
}

// Messages quote file content: control characters in it are shown as \xNN
// rather than handed to the terminal.
std::string printable(std::string_view message) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string shown;
  for (const char c : message) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      shown += "\\x";
      shown += hex[byte >> 4];
      shown += hex[byte & 0xf];
    } else {
      shown += c;
    }
  }
  return shown;
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
    errors << "irteq: " << printable(error.what()) << '\n';
    console.write_line("press return to exit program");
    try {
      if (report) report->close();
    } catch (const RunError& close_error) {
      errors << "irteq: " << printable(close_error.what()) << '\n';
    }
    console.pause();
  } catch (const RunError& error) {
    errors << "irteq: " << printable(error.what()) << '\n';
  } catch (const std::exception& error) {
    errors << "irteq: internal error: " << printable(error.what()) << '\n';
  }
  return 1;
}

}  // namespace irteq
