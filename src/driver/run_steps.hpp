#pragma once

#include "common/console.hpp"
#include "common/report_file.hpp"
#include "driver/run_data.hpp"

namespace irteq {

// The steps of a run between opening and closing the report, in run order.

// "form y input", form Y's item, quadrature (group 2) and raw-to-scale files;
// then "form x input", form X's item and quadrature (group 1) files; each
// echoed into the report as it is read.
void read_inputs(RunData& run, ReportFile& report);

// Both forms' score points must fit a distribution, and the raw-to-scale
// table needs a row for each of form Y's score points.
void check_run_sizes(const RunData& run);

// Form Y in groups 2 and 1, form X in groups 1 and 2, then both synthetic distributions.
void compute_distributions(RunData& run);

// Observed score equivalents (which may adjust the synthetic distributions),
// true score equivalents, their scale scores and rounded scale scores.
void compute_equivalents(RunData& run, Console& console);

}  // namespace irteq
