// The five input files of a run, form Y's first: its item parameters, group
// 2's quadrature points and its raw-to-scale table with w2; then form X's
// item parameters and group 1's quadrature points. Each is opened as an
// existing file, read and echoed, and closed before the next.
#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "common/open_input_file.hpp"
#include "common/score_range.hpp"
#include "common/shown_number.hpp"
#include "input/calibration_reference.hpp"
#include "input/echo.hpp"
#include "input/scale_table_reader.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"

namespace irteq {

namespace {

// One section of the report's echo: its heading, written before the file is
// opened, then the file as read. The reader's errors say which input they concern.
template <class Reader>
auto read_file(const Echo& echo, std::initializer_list<std::string_view> heading, const std::string& file_name,
               const char* what, InputPart input, Reader&& reader) {
  for (const std::string_view line : heading) echo.line(line);
  try {
    std::ifstream in;
    open_input_file(in, file_name, what);
    return reader(in);
  } catch (const Error& error) {
    Diagnostic where = error.diagnostic();
    where.input = input;
    throw Error(error.what(), where);
  }
}

// A calibration program's file, echoed as the items irteq made of it.
std::vector<Item> read_calibration_items(const Echo& echo, const CalibrationReference& reference, InputPart input) {
  echo.line("");
  echo.line(std::string(calibration_program_name(reference.program)) + " parameter file as converted");
  try {
    const CalibrationOptions options{.D = reference.D, .thresholds = reference.thresholds};
    std::vector<Item> items = read_calibration(reference.path, reference.program, options).items;
    for (const Item& item : items) {
      std::string line = std::to_string(item.number);
      for (const std::string_view part : {std::string_view(item.label), item_code(item.model)}) {
        line += ' ';
        line += part;
      }
      for (const double value : item.parameters) {
        line += ' ';
        line += shown_number(value);
      }
      echo.line(line);
    }
    return items;
  } catch (const Error& error) {
    Diagnostic where = error.diagnostic();
    where.input = input;
    throw Error(error.what(), where);
  }
}

EquatingInput read_five_files(const ControlFile& files, const ReadOptions& options) {
  const Echo echo(options.echo);
  EquatingInput input;
  input.names = {files.new_para, files.old_para, files.new_quad, files.old_quad, files.raw2scale};

  const auto items = [&](const std::string& file_name, InputPart part) {
    if (const auto reference = calibration_reference(file_name)) return read_calibration_items(echo, *reference, part);
    return read_file(echo, {"", "item parameter file as read in"}, file_name, "item parameter file", part,
                     [&](std::istream& in) { return read_items(in, file_name, options); });
  };
  const auto grid = [&](const std::string& file_name, InputPart part) {
    return read_file(echo, {"", "", "quadrature points file as read in"}, file_name, "quadrature points file", part,
                     [&](std::istream& in) { return read_grid(in, file_name, options); });
  };

  echo.line("form y input");
  input.items_y = items(files.old_para, InputPart::items_y);
  input.grid_group2 = grid(files.old_quad, InputPart::grid_group2);
  // Form Y's items are read: the table's rows can be checked against its score points.
  const std::vector<double> y_raw_scores = score_points(score_range(input.items_y));
  RawToScaleFile scale = read_file(echo, {"", "", "raw-to-scale score equivalents file"}, files.raw2scale,
                                   "raw-to-scale file", InputPart::scale_table, [&](std::istream& in) {
                                     return read_scale_table(in, files.raw2scale, options, &y_raw_scores);
                                   });
  input.scale_table = std::move(scale.table);
  input.w2 = scale.w2;
  // In a file rows pair with score points by position, and a raw column that
  // says otherwise was warned of; in memory validate() would take it for a
  // mistake, so the run goes on without it.
  std::vector<double>& raw = input.scale_table.raw;
  const std::size_t paired = std::min(raw.size(), y_raw_scores.size());
  if (!std::equal(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(paired), y_raw_scores.begin())) raw.clear();

  echo.empty_line();
  echo.empty_line();
  echo.line("form x input");
  input.items_x = items(files.new_para, InputPart::items_x);
  input.grid_group1 = grid(files.new_quad, InputPart::grid_group1);
  return input;
}

}  // namespace

EquatingInput read_inputs(const ControlFile& files, const ReadOptions& options) {
  if (!files.common_items.empty()) {
    throw Error("the control file names common items (" + files.common_items +
                    "): its forms are on two scales; read it with read_run and link them before equating",
                {.code = ErrorCode::control_file, .input = InputPart::control_file, .source = files.common_items});
  }
  return read_five_files(files, options);
}

RunInput read_run(const ControlFile& files, const ReadOptions& options) {
  ControlFile five = files;
  five.common_items.clear();
  RunInput run{read_five_files(five, options), std::nullopt};
  if (!files.common_items.empty()) {
    const Echo echo(options.echo);
    const CommonItemsFile common = read_file(
        echo, {"", "", "common item file as read in"}, files.common_items, "common-item file", InputPart::common_items,
        [&](std::istream& in) { return read_common_items(in, files.common_items, options); });
    run.linking = LinkingInput{common.pairs,        common.method, common.symmetric, files.common_items,
                               common.method_line,  common.screen, common.cut,       common.screen_line};
  }
  // Read as written: run() checks them against the scale table.
  if (!files.cut_scores.empty()) {
    const Echo echo(options.echo);
    run.cut_scores = read_file(echo, {"", "", "cut score file as read in"}, files.cut_scores, "cut-score file",
                               InputPart::cut_scores,
                               [&](std::istream& in) { return read_cut_scores(in, files.cut_scores, options); });
  }
  // Once all are read, so that a missing file gets its reader's message.
  for (const auto& [role, name] : {std::pair{"control", &files.control}, std::pair{"old_para", &files.old_para},
                                   std::pair{"old_quad", &files.old_quad}, std::pair{"raw2scale", &files.raw2scale},
                                   std::pair{"new_para", &files.new_para}, std::pair{"new_quad", &files.new_quad},
                                   std::pair{"common_items", &files.common_items},
                                   std::pair{"cut_scores", &files.cut_scores}}) {
    if (name->empty()) continue;
    const auto reference = name == &files.old_para || name == &files.new_para ? calibration_reference(*name) : std::nullopt;
    run.files.push_back(describe_input_file(reference ? reference->path : *name, role));
    if (reference && !reference->thresholds.empty()) {
      run.files.push_back(describe_input_file(reference->thresholds, std::string(role) + "_thresholds"));
    }
  }
  return run;
}

EquatingInput read_control_file(const std::filesystem::path& control_file, const ReadOptions& options) {
  return read_inputs(read_control(control_file), options);
}

}  // namespace irteq
