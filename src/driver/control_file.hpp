#pragma once

#include <string>

#include "common/file_names.hpp"

namespace irteq {

// Reads the six keyword records of a control file into the slots of the run's
// files. Keywords match exactly (case-sensitive, trailing blanks ignored);
// unknown keywords are skipped, and a later record wins over an earlier one.
// A keyword that no record supplies ends the run before any file is opened.
FileNames read_control_file(const std::string& control_file_name);

}  // namespace irteq
