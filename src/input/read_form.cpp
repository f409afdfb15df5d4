#include "input/read_form.hpp"

#include "input/read_item_parameter_file.hpp"
#include "input/read_quadrature_file.hpp"
#include "input/read_scale_table_file.hpp"

namespace irteq {

void read_form(Form form, const FileNames& file_names, ReportFile& report, ItemSet& items, QuadratureGrid& grid,
               ScaleTable& table, double& w2) {
  const int offset = form == Form::y ? 0 : 3;
  read_item_parameter_file(file_names[static_cast<std::size_t>(offset + 1)], report, items);
  read_quadrature_file(file_names[static_cast<std::size_t>(offset + 2)], report, grid);
  if (form == Form::y) read_scale_table_file(file_names[slot_raw2scale], report, table, w2);
}

}  // namespace irteq
