// Reader of quadrature points files: a title line, then one free-format read
// of an ability and its weight per point, echoed as read. The weights stay as
// read; equate() divides them by their sum.
#include "common/fixed_field.hpp"
#include "input/titled_file.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "validate/grid_problems.hpp"

namespace irteq {

QuadratureGrid read_grid(std::istream& in, const std::string& name, const ReadOptions& options) {
  TitledFile titled(in, name, options);
  const Echo& echo = titled.echo;
  FreeFormatReader& reader = titled.reader;
  FileWarnings& warnings = titled.warnings;
  titled.echo_title();

  QuadratureGrid grid;
  double point = 0.0;  // keep what they held when a read leaves them unread
  double weight = 0.0;
  for (;;) {
    reader.begin_read();
    if (reader.get_real(point) == Got::end_of_file || reader.get_real(weight) == Got::end_of_file) break;
    const int row = static_cast<int>(grid.points.size()) + 1;
    warnings.warn_of_numbers_left(reader, "ability and weight", {.row = row});
    if (grid.points.size() == static_cast<std::size_t>(max_quadrature_points)) {
      reader.fail(too_many_points_message(), {.code = ErrorCode::limit_exceeded, .row = row});
    }
    std::string line;
    append_fixed(line, point, 10, 6);
    append_fixed(line, weight, 10, 6);
    echo.line(line);
    if (const std::string problem = weight_problem(weight); !problem.empty()) {
      reader.fail(problem, {.code = ErrorCode::invalid_input, .row = row});
    }
    grid.points.push_back(point);
    grid.weights.push_back(weight);
  }

  const Diagnostic where{.code = ErrorCode::invalid_input, .source = name};
  if (grid.points.empty()) throw Error(name + ": the file holds no quadrature points", where);
  if (const std::string problem = weight_sum_problem(grid.weights); !problem.empty()) {
    throw Error(name + ": " + problem, where);
  }
  warnings.finish();
  return grid;
}

}  // namespace irteq
