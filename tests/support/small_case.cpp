#include "support/small_case.hpp"

#include <filesystem>
#include <sstream>

namespace irteq::testing {

const char* const SmallCase::two_items =
    "1 two items\n"
    "1 L3 2\n0 1\n1.7 1.0 0.0 0.2\n"
    "2 L3 2\n0 1\n1.7 1.0 0.0 0.2\n";

SmallCase::SmallCase() {
  set("control.txt",
      "output report.txt\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para x.par\nnew_quad g1.qd\n");
  set("y.par", two_items);
  set("x.par", two_items);
  set("g1.qd", "group 1\n-1 1\n0 2\n1 1\n");
  set("g2.qd", "group 2\n-1 1\n0 2\n1 1\n");
  set("y.scl", "scale\n10 30 0.5\n0 10 10\n1 20 20\n2 30 30\n");
}

void SmallCase::set(const std::string& file_name, const std::string& content) {
  write_file(folder_ / file_name, content);
}

BinaryRun SmallCase::run(const std::string& console_input) const { return run_irteq(folder_.path(), console_input); }

std::string SmallCase::report(const std::string& file_name) const { return read_file(folder_ / file_name); }

bool SmallCase::exists(const std::string& file_name) const { return std::filesystem::exists(folder_ / file_name); }

std::string report_section(const std::string& report, const std::string& heading) {
  std::istringstream lines(report);
  std::string line;
  std::string section;
  bool inside = false;
  int empty_in_a_row = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!inside && line == heading) inside = true;
    if (!inside) continue;
    empty_in_a_row = line.empty() ? empty_in_a_row + 1 : 0;
    if (empty_in_a_row == 2) break;
    section += line + "\n";
  }
  while (section.size() >= 2 && section.substr(section.size() - 2) == "\n\n") section.pop_back();
  return section;
}

}  // namespace irteq::testing
