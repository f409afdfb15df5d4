#pragma once

#include "common/file_names.hpp"
#include "common/item_set.hpp"
#include "common/quadrature_grid.hpp"
#include "common/report_file.hpp"
#include "common/scale_table.hpp"

namespace irteq {

enum class Form { y, x };

// Reads and echoes all input files of one form: its item parameter file and
// its group's quadrature file, and for form Y also the raw-to-scale file with
// w2 (table and w2 are left alone for form X).
void read_form(Form form, const FileNames& file_names, ReportFile& report, ItemSet& items, QuadratureGrid& grid,
               ScaleTable& table, double& w2);

}  // namespace irteq
