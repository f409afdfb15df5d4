#include "input/read_item_parameter_file.hpp"

#include <fstream>
#include <span>

#include "common/fixed_field.hpp"
#include "common/fixed_width.hpp"
#include "common/free_format_reader.hpp"
#include "common/open_input_file.hpp"
#include "common/run_error.hpp"
#include "input/item_parameter_problem.hpp"
#include "input/read_title.hpp"
#include "models/mu_to_bn.hpp"

namespace irteq {

namespace {

TypeCode type_code_of(const std::string& text) {
  TypeCode code{' ', ' '};  // a longer code is taken by its first two characters
  for (std::size_t i = 0; i < code.size() && i < text.size(); ++i) code[i] = text[i];
  return code;
}

std::string code_text(const TypeCode& code) { return std::string(code.data(), code.size()); }

int title_digit(FreeFormatReader& reader, const std::string& line) {
  const char c = line.empty() ? ' ' : line[0];
  if (c == ' ') return 0;
  if (c < '0' || c > '9') reader.fail("column 1 must hold a digit or a blank, found '" + std::string(1, c) + "'");
  return c - '0';
}

void write_header(ReportFile& report, int number, const TypeCode& code, int m) {
  std::string line;
  append_integer(line, number, 5);
  append_text_right(line, code_text(code), 4);
  append_integer(line, m, 5);
  report.write_line(line);
}

void write_parameters(ReportFile& report, std::span<const double> values, std::size_t per_line) {
  std::string line;
  for (std::size_t i = 0; i < values.size(); ++i) {
    append_fixed(line, values[i], 10, 6);
    if ((i + 1) % per_line == 0 || i + 1 == values.size()) {
      report.write_line(line);
      line.clear();
    }
  }
}

}  // namespace

int parameter_values_to_read(const TypeCode& code, int m) {
  if (code == code_l3) return 4;
  if (code == code_sn) return m;
  if (code == code_bn) return 2 * m + 1;
  if (code == code_mu) return m + 3;
  if (code == code_sl) return m + 1;
  return 0;
}

void read_item_parameter_file(const std::string& file_name, ReportFile& report, ItemSet& items) {
  report.write_empty_line();
  report.write_line("item parameter file as read in");
  std::ifstream in;
  open_input_file(in, file_name, "item parameter file");
  FreeFormatReader reader(in, file_name);

  const std::string title_line = read_title_line(reader);
  std::string echo;
  append_integer(echo, title_digit(reader, title_line), 1);
  append_text(echo, fixed_width_field(title_line, 1, 79));
  report.write_empty_line();
  report.write_line(echo);

  items.item_count = 0;
  // Like the values of a list-directed read, the header values keep what they
  // held when a slash or a null value leaves them unread.
  int number = 0;
  std::string code_read;
  int m = 0;
  for (;;) {
    reader.begin_read();
    if (reader.get_integer(number) == Got::end_of_file || reader.get_text(code_read) == Got::end_of_file ||
        reader.get_integer(m) == Got::end_of_file) {
      break;
    }
    const int header_line = reader.line_number();
    const int position = items.item_count + 1;
    const std::string label = "item " + std::to_string(position) + " (number " + std::to_string(number) + ")";
    if (items.item_count == max_items) {
      reader.fail("more than " + std::to_string(max_items) + " items; a form holds at most " +
                  std::to_string(max_items));
    }
    const TypeCode code = type_code_of(code_read);
    write_header(report, number, code, m);
    if (m < 1 || m > max_categories) {
      reader.fail(label + ": " + std::to_string(m) + " categories; an item has 1 to " +
                  std::to_string(max_categories));
    }

    Item& item = items.items[static_cast<std::size_t>(items.item_count)];
    item = Item{};
    item.category_count = m;
    reader.begin_read();
    for (int k = 0; k < m; ++k) {
      if (reader.get_integer(item.category_scores[static_cast<std::size_t>(k)]) == Got::end_of_file) {
        reader.fail("end of file inside the category scores of " + label);
      }
    }
    const std::span<const int> scores(item.category_scores.data(), static_cast<std::size_t>(m));
    echo.clear();
    append_free_integers(echo, scores);
    report.write_line(echo);

    const int values = parameter_values_to_read(code, m);
    if (values == 0) {
      echo = "bad item type read in: ";
      append_text(echo, code_text(code));
      report.write_line(echo);
      throw UnknownItemType(file_name + " line " + std::to_string(header_line) + ": " + label +
                            ": unknown item type code '" + code_text(code) + "'");
    }
    for (const int score : scores) {
      if (score < scores.front() || score > scores.back()) {
        reader.fail(label + ": the first category score must be the lowest and the last the highest");
      }
    }
    if (code == code_l3 && m != 2) {
      reader.fail_at(header_line, label + ": an \"L3\" item has 2 categories, not " + std::to_string(m));
    }
    const int stored = code == code_mu ? 2 * m + 1 : values;
    if (stored > max_parameters) {
      reader.fail_at(header_line, label + ": " + std::to_string(stored) + " parameter values; an item holds at most " +
                  std::to_string(max_parameters) + " (60 categories for \"" + code_text(code) + "\" items)");
    }
    reader.begin_read();
    for (int k = 0; k < values; ++k) {
      if (reader.get_real(item.parameters[static_cast<std::size_t>(k)]) == Got::end_of_file) {
        reader.fail("end of file inside the parameters of " + label);
      }
    }
    const std::span<const double> read(item.parameters.data(), static_cast<std::size_t>(values));
    write_parameters(report, read, code == code_l3 ? 4 : 8);
    const std::string problem = item_parameter_problem(code, m, read);
    if (!problem.empty()) reader.fail(label + ": " + problem);
    item.type_code = code;
    if (code == code_mu) {
      mu_to_bn(item.parameters, m);
      item.type_code = code_bn;
    }
    ++items.item_count;
  }
  if (items.item_count == 0) throw RunError(file_name + ": the file holds no items");
}

}  // namespace irteq
