#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "irteq/calibration.hpp"

namespace irteq {

// An item parameter record that names a calibration program's file instead
// of an irteq item file: "flexmirt:formx-prm.txt",
// "winsteps(SFILE=formx-sfile.txt):formx-ifile.txt", options in parentheses,
// separated by ';': D=number, SFILE=file.
struct CalibrationReference {
  CalibrationProgram program = CalibrationProgram::flexmirt;
  std::optional<double> D;
  std::string thresholds;  // Winsteps' SFILE; empty when not named
  std::string path;
};

// None when the name starts with no program's name followed by ':' or '('.
// Throws Error (control_file) on a prefix that starts as one but is not
// "program:" or "program(options):".
std::optional<CalibrationReference> calibration_reference(std::string_view name);

// The name again, as calibration_reference() reads it.
std::string calibration_name(const CalibrationReference& reference);

}  // namespace irteq
