#pragma once

#include "common/report_file.hpp"
#include "driver/run_data.hpp"

namespace irteq {

// Writes the result sections of the report: the true score table, both forms'
// marginal distributions, the observed score equivalents and the raw, scale
// and rounded scale score moments.
void write_results(const RunData& run, ReportFile& report);

}  // namespace irteq
