#pragma once

#include <array>
#include <string>

#include "common/file_names.hpp"

namespace irteq {

// What the six records of a control file named, slot by slot.
struct ControlRecords {
  FileNames names;
  std::array<bool, slot_count> named{};
};

// Reads exactly six records of a keyword and a file name each. Keywords match
// exactly (case-sensitive, trailing blanks ignored); a record with an unknown
// keyword is skipped, and a later record wins over an earlier one.
ControlRecords read_control_records(const std::string& control_file_name);

// The run's six files from the control file. A keyword that no record
// supplies, or a report that is one of the input files or the control file,
// ends the run before any file is opened.
FileNames read_control_file(const std::string& control_file_name);

}  // namespace irteq
