#pragma once

#include <string>

#include "common/report_file.hpp"
#include "common/scale_table.hpp"

namespace irteq {

// Reads form Y's raw-to-scale file (scale limits, the synthetic weight w2 and
// one row per form Y score point) and echoes it as read.
void read_scale_table_file(const std::string& file_name, ReportFile& report, ScaleTable& table, double& w2);

}  // namespace irteq
