#pragma once

#include <string>

#include "common/item_set.hpp"
#include "common/report_file.hpp"

namespace irteq {

// Reads one form's item parameter file into items and echoes it to the report.
// "MU" items are echoed as read and held as "BN" items. An unknown type code
// writes "bad item type read in: " to the report and throws UnknownItemType;
// items that cannot be equated or do not fit the limits end the run.
void read_item_parameter_file(const std::string& file_name, ReportFile& report, ItemSet& items);

// Number of parameter values an item of this type and category count takes from the file; 0 for an unknown code.
int parameter_values_to_read(const TypeCode& code, int m);

}  // namespace irteq
