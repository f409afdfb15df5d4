#include "input/file_warnings.hpp"

namespace irteq {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool has_decimal_comma(std::string_view line) {
  for (std::size_t i = 1; i + 1 < line.size(); ++i) {
    if (line[i] == ',' && is_digit(line[i - 1]) && is_digit(line[i + 1])) return true;
  }
  return false;
}

}  // namespace

void FileWarnings::warn(int line, std::string_view what) {
  ++count_;
  if (sink_ && count_ <= shown) sink_(file_name_ + " line " + std::to_string(line) + ": " + std::string(what));
}

void FileWarnings::finish() const {
  if (sink_ && count_ > shown) {
    sink_(file_name_ + ": " + std::to_string(count_ - shown) + " more warning" + (count_ - shown == 1 ? "" : "s") +
          " like these");
  }
}

void FileWarnings::warn_of_numbers_left(const FreeFormatReader& reader, std::string_view read) {
  const int left = reader.numbers_left_on_line();
  if (left == 0) return;
  std::string what = std::to_string(left) + (left == 1 ? " more number after the " : " more numbers after the ") +
                     std::string(read) + (left == 1 ? " is" : " are") + " ignored";
  if (has_decimal_comma(reader.current_line())) {
    what += "; a comma between digits separates two values: is it a decimal comma? Write decimal points";
  }
  warn(reader.line_number(), what);
}

void FileWarnings::warn_of_numeric_title(std::string_view title) {
  bool any = false;
  for (const char c : title) {
    if (c == ' ' || c == '\t') continue;
    if (!is_digit(c) && c != '.' && c != '-' && c != '+' && c != ',' && c != 'e' && c != 'E') return;
    any = any || is_digit(c);
  }
  if (any) warn(1, "the title line holds only numbers; the first line is always the title: is it missing?");
}

}  // namespace irteq
