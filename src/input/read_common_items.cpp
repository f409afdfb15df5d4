// Reader of common-item files: a title line; the linking method applied,
// optionally followed by "symmetric"; optionally "screen STATISTIC CUT";
// then one free-format read per common item of its number in form X's item
// file and in form Y's, each number or a quoted label ('R05001'). Pairs are echoed as read; link() checks what they
// name, and whether the cut suits the statistic.
#include <optional>
#include <string_view>

#include "common/enum_names.hpp"
#include "common/fixed_field.hpp"
#include "common/number_text.hpp"
#include "input/titled_file.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"

namespace irteq {

namespace {

// The blank-, tab- or comma-separated words of a line.
std::vector<std::string_view> words(std::string_view line) { return split_words(line, " \t,\r"); }

std::string quoted(std::string_view word) {
  std::string text(1, '\'');
  text.append(word).push_back('\'');
  return text;
}

// The line after the method, when it starts with "screen": the statistic and the cut, on that line.
void read_screening(TitledFile& titled, CommonItemsFile& file) {
  FreeFormatReader& reader = titled.reader;
  std::string line;
  if (!reader.read_line(line)) return;
  const std::vector<std::string_view> screen_words = words(line);
  if (screen_words.empty() || ascii_lower(screen_words[0]) != "screen") {
    reader.unread_line(std::move(line));
    return;
  }
  file.screen_line = reader.line_number();
  const auto screen_fail = [&](const std::string& what) {
    reader.fail(what, {.code = ErrorCode::invalid_input, .line = file.screen_line});
  };
  const std::string valid = "write screen robust-z, rmsd or wald, then the cut (screen robust-z 2.7)";
  if (screen_words.size() < 2) screen_fail("screen names no statistic; " + valid);
  const std::optional<ScreeningStatistic> statistic = screening_statistic(screen_words[1]);
  if (!statistic || *statistic == ScreeningStatistic::none) {
    screen_fail("unknown screening statistic " + quoted(screen_words[1]) + "; " + valid);
  }
  if (screen_words.size() < 3) screen_fail("screen " + ascii_lower(screen_words[1]) + " gives no cut; " + valid);
  if (!is_real_text(screen_words[2]) || !parse_real(screen_words[2], file.cut)) {
    screen_fail("the cut " + quoted(screen_words[2]) + " is not a number; " + valid);
  }
  if (screen_words.size() > 3 && !screen_words[3].starts_with('/')) {
    const bool comma = is_real_text(screen_words[3]) && line.find(',') != std::string::npos;
    screen_fail(quoted(screen_words[3]) + " after the cut; the screening line ends with the cut" +
                (comma ? " (a decimal comma? write the cut with a point)" : ""));
  }
  file.screen = *statistic;
  titled.echo.line("screen " + std::string(screening_statistic_name(file.screen)) + " " + shortest_text(file.cut));
}

}  // namespace

CommonItemsFile read_common_items(std::istream& in, const std::string& name, const ReadOptions& options) {
  TitledFile titled(in, name, options);
  const Echo& echo = titled.echo;
  FreeFormatReader& reader = titled.reader;
  titled.echo_title();

  CommonItemsFile file;
  std::string line;
  if (!reader.read_line(line)) reader.fail("end of file where the linking method was expected");
  file.method_line = reader.line_number();
  const std::vector<std::string_view> method_words = words(line);
  const auto method_fail = [&](const std::string& what) {
    reader.fail(what, {.code = ErrorCode::invalid_input, .line = file.method_line});
  };
  const std::string valid = "mean-mean, mean-sigma, haebara or stocking-lord, optionally followed by symmetric";
  if (method_words.empty()) method_fail("no linking method; write " + valid);
  const std::optional<LinkingMethod> method = linking_method(method_words[0]);
  if (!method) method_fail("unknown linking method " + quoted(method_words[0]) + "; write " + valid);
  file.method = *method;
  if (method_words.size() > 1) {
    if (method_words[1] != "symmetric") {
      method_fail(quoted(method_words[1]) + " after the method; the only word allowed there is symmetric");
    }
    // Whether the method has a criterion to make symmetric is link()'s to check, as for pairs built in memory.
    file.symmetric = true;
  }
  echo.line(std::string(linking_method_name(file.method)) + (file.symmetric ? " symmetric" : ""));

  read_screening(titled, file);

  int x_number = 0;  // keep what they held when a read leaves them unread
  int y_number = 0;
  std::string x_label;
  std::string y_label;
  for (;;) {
    reader.begin_read();
    const int row = static_cast<int>(file.pairs.size()) + 1;
    reader.set_context("pair " + std::to_string(row) + ": ");
    if (reader.get_integer_or_quoted(x_number, x_label) == Got::end_of_file) break;
    const int pair_line = reader.line_number();  // where the pair's first number stands
    if (reader.get_integer_or_quoted(y_number, y_label) == Got::end_of_file) {
      reader.fail("end of file after form X's item number; a pair needs form Y's too",
                  {.code = ErrorCode::syntax_error, .row = row});
    }
    titled.warnings.warn_of_numbers_left(reader, "pair's item numbers", {.row = row});
    if (file.pairs.size() == static_cast<std::size_t>(max_items)) {
      reader.fail("more than " + std::to_string(max_items) + " pairs; a form holds at most " +
                      std::to_string(max_items) + " items",
                  {.code = ErrorCode::limit_exceeded, .row = row});
    }
    std::string text;
    const auto echo_item = [&](int number, const std::string& label) {
      if (label.empty()) {
        append_integer(text, number, 6);
      } else {
        text += ' ' + irteq::quoted(label);
      }
    };
    echo_item(x_number, x_label);
    echo_item(y_number, y_label);
    echo.line(text);
    file.pairs.push_back({x_number, y_number, pair_line, x_label, y_label});
  }
  titled.warnings.finish();
  return file;
}

}  // namespace irteq
