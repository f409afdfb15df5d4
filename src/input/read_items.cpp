// Reader of item parameter files: a title line whose first column holds a
// digit or a blank, then per item three free-format reads: its number, type
// code and number of categories m; its m category scores; its parameters.
// Each item is echoed as read; "MU" items keep their values as read.
#include <span>

#include "common/fixed_field.hpp"
#include "common/fixed_width.hpp"
#include "input/item_hints.hpp"
#include "input/titled_file.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "models/item_problems.hpp"

namespace irteq {

namespace {

// A longer code is taken by its first two characters.
std::string two_characters(const std::string& text) {
  std::string code = text.substr(0, 2);
  code.resize(2, ' ');
  return code;
}

int title_digit(FreeFormatReader& reader, const std::string& line) {
  const char c = line.empty() ? ' ' : line[0];
  if (c == ' ') return 0;
  if (c < '0' || c > '9') reader.fail("column 1 must hold a digit or a blank, found '" + std::string(1, c) + "'");
  return c - '0';
}

void echo_header(const Echo& echo, int number, const std::string& code, int m) {
  std::string line;
  append_integer(line, number, 5);
  append_text_right(line, code, 4);
  append_integer(line, m, 5);
  echo.line(line);
}

// A read that ran on over several lines has likely taken a value from the next
// line, the next item's number for instance, because one was missing.
std::string lines_hint(const FreeFormatReader& reader, std::string_view what) {
  if (reader.first_line_of_read() == reader.line_number()) return {};
  return " (the " + std::string(what) + " were read from lines " + std::to_string(reader.first_line_of_read()) +
         " to " + std::to_string(reader.line_number()) + ": is a value missing?)";
}

void echo_parameters(const Echo& echo, std::span<const double> values, std::size_t per_line) {
  std::string line;
  for (std::size_t i = 0; i < values.size(); ++i) {
    append_fixed(line, values[i], 10, 6);
    if ((i + 1) % per_line == 0 || i + 1 == values.size()) {
      echo.line(line);
      line.clear();
    }
  }
}

}  // namespace

std::vector<Item> read_items(std::istream& in, const std::string& name, const ReadOptions& options) {
  TitledFile titled(in, name, options);
  const Echo& echo = titled.echo;
  FreeFormatReader& reader = titled.reader;
  FileWarnings& warnings = titled.warnings;
  const std::string& title_line = titled.title_line;
  std::string line;
  append_integer(line, title_digit(reader, title_line), 1);
  append_text(line, fixed_width_field(title_line, 1, 79));
  echo.empty_line();
  echo.line(line);

  std::vector<Item> items;
  // Like the values of a list-directed read, the header values keep what they
  // held when a slash or a null value leaves them unread.
  int number = 0;
  std::string code_read;
  int m = 0;
  std::string before_hint;  // what the item before took, for a failure at this item's start
  for (;;) {
    const int position = static_cast<int>(items.size()) + 1;
    // What a failure at this point adds: its likely cause when that lies elsewhere.
    std::string blame = before_hint;
    try {
      reader.set_context("item " + std::to_string(position) + ": number, type code and categories: ");
      reader.begin_read();
      if (reader.get_integer(number) == Got::end_of_file || reader.get_text(code_read) == Got::end_of_file ||
          reader.get_integer(m) == Got::end_of_file) {
        break;
      }
      reader.set_context({});
      const int first_line = reader.first_line_of_read();
      const int header_line = reader.line_number();
      const bool one_item_per_line = reader.numbers_left_on_line() > 0;
      const std::string header_hint = one_item_per_line ? std::string(layout_hint()) : before_hint;
      const std::string code = two_characters(code_read);
      const std::string label = item_label(position, number, code, m);
      const auto fail_item = [&](const std::string& problem, ErrorCode error, int at_line = 0) {
        reader.set_context({});
        reader.fail(label + ": " + problem, {.code = error, .line = at_line, .item = position});
      };
      blame.clear();
      if (items.size() == static_cast<std::size_t>(max_items)) {
        reader.fail("more than " + std::to_string(max_items) + " items; a form holds at most " +
                        std::to_string(max_items),
                    {.code = ErrorCode::limit_exceeded, .item = position});
      }
      echo_header(echo, number, code, m);
      blame = header_hint;
      if (const std::string problem = category_count_problem(m); !problem.empty()) {
        fail_item(problem, ErrorCode::limit_exceeded);
      }
      // A header that reads as such may still have taken values of the item
      // before: a code that is a number says so.
      blame = one_item_per_line || looks_like_a_number(code_read) ? header_hint : std::string();

      Item item;
      item.number = number;
      item.category_scores.assign(static_cast<std::size_t>(m), 0);
      reader.set_context(label + ": category scores: ");
      reader.begin_read();
      for (int& score : item.category_scores) {
        if (reader.get_integer(score) == Got::end_of_file) {
          reader.fail("the file ends before all " + std::to_string(m) + " were read",
                      {.code = ErrorCode::syntax_error, .item = position});
        }
      }
      warnings.warn_of_numbers_left(reader, "category scores of " + label, {.item = position}, header_hint);
      const std::string scores_hint = lines_hint(reader, "category scores");
      line.clear();
      append_free_integers(line, item.category_scores);
      echo.line(line);

      const std::optional<ItemModel> model = item_model(code);
      if (!model) {
        echo.line("bad item type read in: " + code);
        fail_item(unknown_code_message(code), ErrorCode::unknown_item_type, header_line);
      }
      item.model = *model;
      if (const std::string problem = score_order_problem(item.category_scores); !problem.empty()) {
        fail_item(problem + scores_hint, ErrorCode::invalid_input);
      }
      if (const std::string problem = model_category_problem(item.model, m); !problem.empty()) {
        fail_item(problem, item.model == ItemModel::l3 ? ErrorCode::invalid_input : ErrorCode::limit_exceeded,
                  header_line);
      }
      item.parameters.assign(static_cast<std::size_t>(parameter_count(item.model, m)), 0.0);
      reader.set_context(label + ": parameters: ");
      reader.begin_read();
      for (double& value : item.parameters) {
        if (reader.get_real(value) == Got::end_of_file) {
          reader.fail("the file ends before all " + std::to_string(item.parameters.size()) + " were read",
                      {.code = ErrorCode::syntax_error, .item = position});
        }
      }
      warnings.warn_of_numbers_left(reader, "parameters of " + label, {.item = position});
      echo_parameters(echo, item.parameters, item.model == ItemModel::l3 ? 4 : 8);
      if (const std::string problem = parameter_problem(item.model, m, item.parameters); !problem.empty()) {
        fail_item(problem + lines_hint(reader, "parameters"), ErrorCode::invalid_input);
      }
      before_hint =
          item_before_hint(label, item.category_scores, item.parameters, first_line, reader.line_number());
      items.push_back(std::move(item));
    } catch (const Error& error) {
      // The error of strict mode is the warning's own text, which names the cause already.
      if (blame.empty() || error.diagnostic().code == ErrorCode::input_warning) throw;
      throw Error(error.what() + blame, error.diagnostic());
    }
  }
  if (items.empty()) throw Error(name + ": the file holds no items", {.code = ErrorCode::invalid_input, .source = name});
  warnings.finish();
  return items;
}

}  // namespace irteq
