#pragma once

#include <string>

#include "common/quadrature_grid.hpp"
#include "common/report_file.hpp"

namespace irteq {

// Reads one group's quadrature points file, echoes it as read, then
// normalises the weights to sum to 1. A file without points, or whose weights
// do not add up to a finite non-zero sum, ends the run.
void read_quadrature_file(const std::string& file_name, ReportFile& report, QuadratureGrid& grid);

}  // namespace irteq
