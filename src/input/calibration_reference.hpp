#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "irteq/calibration.hpp"

namespace irteq {

// An item parameter record that names a calibration program's file instead
// of an irteq item file: "flexmirt:formx-prm.txt", "parscale(D=1.7):formx.PAR".
struct CalibrationReference {
  CalibrationProgram program = CalibrationProgram::flexmirt;
  std::optional<double> D;
  std::string path;
  std::string prefix;  // everything before the path, the colon included
};

// None when the name starts with no program's name followed by ':' or '('.
// Throws Error (control_file) on a prefix that starts as one but is not
// "program:" or "program(D=number):".
std::optional<CalibrationReference> calibration_reference(std::string_view name);

}  // namespace irteq
