#pragma once

#include <string>

#include "common/report_file.hpp"
#include "support/binary_run.hpp"

namespace irteq::testing {

// Writes content as the input file file_name in a temporary folder, has read
// (called with the file's path and an open report) read it, and returns what
// it echoed into the report.
template <class Read>
std::string echo_of_file(const std::string& file_name, const std::string& content, Read&& read) {
  TempDir folder;
  write_file(folder / file_name, content);
  {
    ReportFile report((folder / "report").string());
    read((folder / file_name).string(), report);
    report.close();
  }
  return read_file(folder / "report");
}

}  // namespace irteq::testing
