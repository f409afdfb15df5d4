#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "irteq/files.hpp"

namespace irteq {

// The report being written: every line ends in CR LF, and a failed write or
// close ends the run with a message naming the file.
class ReportFile {
 public:
  // Creates the file, or empties an existing one.
  explicit ReportFile(std::string file_name);
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  void write_line(std::string_view line);
  // Where readers echo and the results go: one write_line per line.
  LineSink lines() {
    return [this](std::string_view line) { write_line(line); };
  }
  void close();
  const std::string& file_name() const { return file_name_; }

 private:
  void check();

  std::string file_name_;
  std::ofstream out_;
};

}  // namespace irteq
