#include "input/read_scale_table_file.hpp"

#include <cmath>
#include <fstream>

#include "common/fixed_field.hpp"
#include "common/fixed_width.hpp"
#include "common/free_format_reader.hpp"
#include "common/open_input_file.hpp"
#include "common/shown_number.hpp"
#include "input/read_title.hpp"

namespace irteq {

namespace {

constexpr double max_scale_score = 1e15;

}  // namespace

void read_scale_table_file(const std::string& file_name, ReportFile& report, ScaleTable& table, double& w2) {
  report.write_empty_line();
  report.write_empty_line();
  report.write_line("raw-to-scale score equivalents file");
  std::ifstream in;
  open_input_file(in, file_name, "raw-to-scale file");
  FreeFormatReader reader(in, file_name);
  const std::string title_line = read_title_line(reader);
  report.write_empty_line();
  report.write_line(fixed_width_field(title_line, 0, 79));

  reader.begin_read();
  if (reader.get_integer(table.scale_min) == Got::end_of_file || reader.get_integer(table.scale_max) == Got::end_of_file ||
      reader.get_real(w2) == Got::end_of_file) {
    reader.fail("end of file before the scale score minimum, maximum and w2 were read");
  }
  std::string line = "scale score minimum =";
  append_integer(line, table.scale_min, 5);
  report.write_line(line);
  line = "scale score maximum =";
  append_integer(line, table.scale_max, 5);
  report.write_line(line);
  line = "w2 = ";
  append_fixed(line, w2, 12, 4);
  report.write_line(line);
  // w1 = 1 - w2: outside [0, 1] one group would enter the synthetic population with a negative weight.
  if (!(w2 >= 0.0 && w2 <= 1.0)) {
    reader.fail("w2 is " + shown_number(w2) + "; the weight of group 2 must lie between 0 and 1");
  }
  report.write_line("  raw        scale     rounded");

  table.row_count = 0;
  double raw = 0.0;  // keep what they held when a read leaves them unread
  double scale = 0.0;
  double rounded = 0.0;
  for (;;) {
    reader.begin_read();
    if (reader.get_real(raw) == Got::end_of_file || reader.get_real(scale) == Got::end_of_file ||
        reader.get_real(rounded) == Got::end_of_file) {
      break;
    }
    if (table.row_count == max_score_points) {
      reader.fail("more than " + std::to_string(max_score_points) + " rows; a raw-to-scale table holds at most " +
                  std::to_string(max_score_points));
    }
    line.clear();
    append_fixed(line, raw, 10, 5);
    append_fixed(line, scale, 10, 5);
    append_fixed(line, rounded, 10, 5);
    report.write_line(line);
    // Beyond 1e15 whole numbers stop being exact in a double, and the moments of such scores overflow.
    for (const double value : {scale, rounded}) {
      if (std::fabs(value) > max_scale_score) {
        reader.fail("the scale score " + shown_number(value) + " is too large; scale scores lie within -1e15 to 1e15");
      }
    }
    const auto row = static_cast<std::size_t>(table.row_count);
    table.raw[row] = raw;
    table.scale[row] = scale;
    table.rounded[row] = rounded;
    ++table.row_count;
  }
}

}  // namespace irteq
