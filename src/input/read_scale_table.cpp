// Reader of raw-to-scale files: a title line; the lowest and highest
// reportable scale scores (integers) and w2; then one row of raw, scale and
// rounded scale score per form Y score point, lowest first. Echoed as read.
#include "common/fixed_field.hpp"
#include "input/scale_table_reader.hpp"
#include "input/titled_file.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "validate/scale_table_problems.hpp"

namespace irteq {

RawToScaleFile read_scale_table(std::istream& in, const std::string& name, const ReadOptions& options,
                                const std::vector<double>* y_raw_scores) {
  TitledFile titled(in, name, options);
  const Echo& echo = titled.echo;
  FreeFormatReader& reader = titled.reader;
  FileWarnings& warnings = titled.warnings;
  titled.echo_title();

  RawToScaleFile file;
  ScaleTable& table = file.table;
  reader.begin_read();
  if (reader.get_integer(table.scale_min) == Got::end_of_file || reader.get_integer(table.scale_max) == Got::end_of_file ||
      reader.get_real(file.w2) == Got::end_of_file) {
    reader.fail("end of file before the scale score minimum, maximum and w2 were read");
  }
  warnings.warn_of_numbers_left(reader, "scale score limits and w2");
  std::string line = "scale score minimum =";
  append_integer(line, table.scale_min, 5);
  echo.line(line);
  line = "scale score maximum =";
  append_integer(line, table.scale_max, 5);
  echo.line(line);
  line = "w2 = ";
  append_fixed(line, file.w2, 12, 4);
  echo.line(line);
  for (const std::string& problem : {scale_limits_problem(table.scale_min, table.scale_max), w2_problem(file.w2)}) {
    if (!problem.empty()) reader.fail(problem, {.code = ErrorCode::invalid_input});
  }
  echo.line("  raw        scale     rounded");

  double raw = 0.0;  // keep what they held when a read leaves them unread
  double scale = 0.0;
  double rounded = 0.0;
  for (;;) {
    reader.begin_read();
    if (reader.get_real(raw) == Got::end_of_file || reader.get_real(scale) == Got::end_of_file ||
        reader.get_real(rounded) == Got::end_of_file) {
      break;
    }
    const int row = static_cast<int>(table.scale.size()) + 1;
    warnings.warn_of_numbers_left(reader, "raw, scale and rounded scale score", {.row = row});
    if (table.scale.size() == static_cast<std::size_t>(max_score_points)) {
      reader.fail(too_many_rows_message(), {.code = ErrorCode::limit_exceeded, .row = row});
    }
    line.clear();
    append_fixed(line, raw, 10, 5);
    append_fixed(line, scale, 10, 5);
    append_fixed(line, rounded, 10, 5);
    echo.line(line);
    for (const double value : {scale, rounded}) {
      if (const std::string problem = scale_score_problem(value); !problem.empty()) {
        reader.fail(problem, {.code = ErrorCode::invalid_input, .row = row});
      }
    }
    // Rows pair with form Y's score points by position, whatever their raw column says.
    if (y_raw_scores != nullptr) {
      const auto k = static_cast<std::size_t>(row - 1);
      std::string problem;
      if (k < y_raw_scores->size()) problem = raw_score_problem(row, raw, (*y_raw_scores)[k]);
      if (!problem.empty()) {
        warnings.warn(reader.line_number(), problem, {.row = row});
      } else if (k == y_raw_scores->size()) {
        warnings.warn(reader.line_number(), rows_beyond_message(row, y_raw_scores->size()) + ": read and echoed, not used",
                      {.row = row});
      }
    }
    table.raw.push_back(raw);
    table.scale.push_back(scale);
    table.rounded.push_back(rounded);
  }
  warnings.finish();
  return file;
}

RawToScaleFile read_scale_table(std::istream& in, const std::string& name, const ReadOptions& options) {
  return read_scale_table(in, name, options, nullptr);
}

}  // namespace irteq
