#include "input/read_quadrature_file.hpp"

#include <cmath>
#include <fstream>

#include "common/fixed_field.hpp"
#include "common/fixed_width.hpp"
#include "common/free_format_reader.hpp"
#include "common/open_input_file.hpp"
#include "common/run_error.hpp"
#include "common/shown_number.hpp"
#include "input/read_title.hpp"

namespace irteq {

void read_quadrature_file(const std::string& file_name, ReportFile& report, QuadratureGrid& grid) {
  report.write_empty_line();
  report.write_empty_line();
  report.write_line("quadrature points file as read in");
  std::ifstream in;
  open_input_file(in, file_name, "quadrature points file");
  FreeFormatReader reader(in, file_name);
  const std::string title_line = read_title_line(reader);
  report.write_empty_line();
  report.write_line(fixed_width_field(title_line, 0, 79));

  grid.count = 0;
  double point = 0.0;  // keep what they held when a read leaves them unread
  double weight = 0.0;
  for (;;) {
    reader.begin_read();
    if (reader.get_real(point) == Got::end_of_file || reader.get_real(weight) == Got::end_of_file) break;
    if (grid.count == max_quadrature_points) {
      reader.fail("more than " + std::to_string(max_quadrature_points) + " quadrature points; a grid holds at most " +
                  std::to_string(max_quadrature_points));
    }
    std::string echo;
    append_fixed(echo, point, 10, 6);
    append_fixed(echo, weight, 10, 6);
    report.write_line(echo);
    // A weight is a share of the group; a negative one would give negative probabilities.
    if (weight < 0.0) reader.fail("the quadrature weight " + shown_number(weight) + " is negative");
    grid.points[static_cast<std::size_t>(grid.count)] = point;
    grid.weights[static_cast<std::size_t>(grid.count)] = weight;
    ++grid.count;
  }

  if (grid.count == 0) throw RunError(file_name + ": the file holds no quadrature points");
  double sum = 0.0;
  for (int j = 0; j < grid.count; ++j) sum += grid.weights[static_cast<std::size_t>(j)];
  if (sum == 0.0 || !std::isfinite(sum)) {
    throw RunError(file_name + ": the quadrature weights add up to " + shown_number(sum) +
                   "; they must have a finite sum other than zero");
  }
  for (int j = 0; j < grid.count; ++j) grid.weights[static_cast<std::size_t>(j)] /= sum;
}

}  // namespace irteq
