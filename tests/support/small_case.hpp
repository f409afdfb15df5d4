#pragma once

#include <map>
#include <string>

#include "support/binary_run.hpp"

namespace irteq::testing {

// A complete, valid run of two tiny forms in a temporary folder: two "L3"
// items each (D 1.7, a 1, b 0, c 0.2, scored 0/1), three-point grids and a
// three-row scale table 0..2 -> 10, 20, 30. Tests replace files to make the
// run they need.
class SmallCase {
 public:
  SmallCase();
  void set(const std::string& file_name, const std::string& content);
  BinaryRun run(const std::string& console_input = "control.txt\n\n") const;
  std::string report(const std::string& file_name = "report.txt") const;
  bool exists(const std::string& file_name) const;
  const TempDir& folder() const { return folder_; }

  static const char* const two_items;

 private:
  TempDir folder_;
};

// The lines of a report (CR LF removed) from the line equal to heading up to
// the next two empty lines or the end.
std::string report_section(const std::string& report, const std::string& heading);

}  // namespace irteq::testing
