// Calibration programs' parameter files into irteq items: each program's
// reader gives the items in the converters' source forms, convert_items()
// turns them into irteq's, and a covariance file of the printed values is
// carried along by the product of the two Jacobians.
#include <cmath>
#include <fstream>

#include "common/enum_names.hpp"
#include "common/number_text.hpp"
#include "common/open_input_file.hpp"
#include "common/shown_number.hpp"
#include "input/calibration_source.hpp"
#include "irteq/calibration.hpp"
#include "irteq/error.hpp"

namespace irteq {

namespace {

constexpr NameTable<CalibrationProgram, 5> names{{
    {CalibrationProgram::flexmirt, "flexmirt"},
    {CalibrationProgram::irtpro, "irtpro"},
    {CalibrationProgram::parscale, "parscale"},
    {CalibrationProgram::bilog, "bilog"},
    {CalibrationProgram::winsteps, "winsteps"},
}};

[[noreturn]] void fail(const std::string& file_name, const std::string& what) {
  throw Error(file_name + ": " + what, {.code = ErrorCode::invalid_input, .source = file_name});
}

// The printed values' covariance: every number of the file, blank-, tab- or
// comma-separated, q by q, read by the readers' locale-free number rule.
Covariance read_printed_covariance(const std::string& file_name, std::size_t q) {
  std::ifstream in;
  open_input_file(in, file_name, "covariance file");
  std::vector<double> values;
  values.reserve(q * q);
  std::string line;
  int line_number = 0;
  while (std::getline(in, line)) {
    ++line_number;
    for (const std::string_view cell : split_words(line, " \t\r,")) {
      double value = 0.0;
      if (!parse_number(cell, value)) {
        fail(file_name, "line " + std::to_string(line_number) + ": \"" + std::string(cell) + "\" is not a number");
      }
      values.push_back(value);
    }
  }
  if (values.size() != q * q) {
    fail(file_name, std::to_string(values.size()) + " numbers; the parameter file prints " + std::to_string(q) +
                        " values, so the covariance must be " + std::to_string(q) + " by " + std::to_string(q) +
                        ", rows and columns in the parameter file's order (see docs/calibration/flexmirt.md)");
  }
  return {q, std::move(values)};
}

// J S J' for the block-diagonal J of the readers: the covariance of the source values.
Covariance source_covariance(const CalibrationSource& source, const Covariance& printed) {
  std::size_t p = 0;
  for (const SourceItem& item : source.items) p += item.values.size();
  const std::size_t q = printed.size;
  std::vector<double> t(p * q, 0.0);
  std::size_t row0 = 0, column0 = 0;
  for (std::size_t i = 0; i < source.items.size(); ++i) {
    const std::size_t rows = source.items[i].values.size(), columns = source.printed[i];
    const std::vector<double>& J = source.jacobians[i];
    for (std::size_t r = 0; r < rows; ++r) {
      for (std::size_t j = 0; j < q; ++j) {
        double sum = 0.0;
        for (std::size_t k = 0; k < columns; ++k) sum += J[r * columns + k] * printed.values[(column0 + k) * q + j];
        t[(row0 + r) * q + j] = sum;
      }
    }
    row0 += rows, column0 += columns;
  }
  Covariance result{p, std::vector<double>(p * p, 0.0), source.guessing};
  for (std::size_t a = 0; a < p; ++a) {
    row0 = 0, column0 = 0;
    for (std::size_t i = 0; i < source.items.size(); ++i) {
      const std::size_t rows = source.items[i].values.size(), columns = source.printed[i];
      const std::vector<double>& J = source.jacobians[i];
      for (std::size_t r = 0; r < rows; ++r) {
        double sum = 0.0;
        for (std::size_t k = 0; k < columns; ++k) sum += t[a * q + column0 + k] * J[r * columns + k];
        result.values[a * p + row0 + r] = sum;
      }
      row0 += rows, column0 += columns;
    }
  }
  return result;
}

}  // namespace

std::string_view calibration_program_name(CalibrationProgram program) { return name_in(names, program); }

std::optional<CalibrationProgram> calibration_program(std::string_view name) { return value_in(names, name); }

CalibrationFile read_calibration(const std::filesystem::path& file, CalibrationProgram program,
                                 const CalibrationOptions& options) {
  const std::string file_name = file.string();
  CalibrationSource source;
  const bool slope_intercept = program == CalibrationProgram::flexmirt || program == CalibrationProgram::irtpro;
  if (slope_intercept && options.D) {
    fail(file_name, std::string(calibration_program_name(program)) +
                        " prints slope-intercept values on the logistic metric, D = 1; a D is not taken");
  }
  switch (program) {
    case CalibrationProgram::flexmirt:
      source = read_flexmirt_parameters(file_name, "flexMIRT");
      break;
    case CalibrationProgram::irtpro:
      source = read_flexmirt_parameters(file_name, "IRTPRO");
      break;
    case CalibrationProgram::winsteps:
      source = read_winsteps_measures(file_name, options.thresholds.string(), options.D.value_or(1.0));
      break;
    default:
      fail(file_name, std::string(calibration_program_name(program)) + " parameter files are not read yet");
  }
  if (program != CalibrationProgram::winsteps && !options.thresholds.empty()) {
    fail(file_name, "a thresholds file is Winsteps' SFILE; " + std::string(calibration_program_name(program)) +
                        " files hold their items' thresholds");
  }
  if (!slope_intercept && !options.covariance.empty()) {
    fail(file_name, std::string(calibration_program_name(program)) +
                        " prints standard errors, not a covariance; irteq reads no covariance for its files");
  }
  CalibrationFile result;
  if (options.covariance.empty()) {
    result.items = convert_items(source.items, file_name);
  } else {
    std::size_t q = 0;
    for (const std::size_t printed : source.printed) q += printed;
    const Covariance printed = read_printed_covariance(options.covariance.string(), q);
    ConvertedItems converted = convert_items(source.items, source_covariance(source, printed), file_name);
    result.items = std::move(converted.items);
    result.covariance = std::move(converted.covariance);
  }
  for (std::size_t i = 0; i < result.items.size(); ++i) {
    result.items[i].number = static_cast<int>(i + 1);
    result.items[i].label = source.labels[i];
  }
  result.groups = std::move(source.groups);
  return result;
}

}  // namespace irteq
