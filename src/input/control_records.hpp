#pragma once

#include <string>

#include "irteq/files.hpp"

namespace irteq {

// The six names exactly as the control file writes them. Reads exactly six
// records of a keyword and a file name each. Keywords match exactly
// (case-sensitive, trailing blanks ignored); a record with an unknown keyword,
// or none, is skipped, and a later record wins over an earlier one. Unquoted
// names run to the next blank, tab or comma, slashes included. A keyword that
// no record names, or a record of a keyword that names no file (empty, or cut
// off by a lone slash or two commas), is an error.
ControlFile read_control_records(const std::string& control_file_name);

// The report is emptied before anything is read: it must be neither one of
// the input files nor the control file itself.
void check_report_is_not_an_input(const ControlFile& files, const std::string& control_file_name);

}  // namespace irteq
