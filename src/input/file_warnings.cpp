#include "input/file_warnings.hpp"

namespace irteq {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void FileWarnings::warn(int line, std::string_view what, Diagnostic where) {
  const std::string message = file_name_ + " line " + std::to_string(line) + ": " + std::string(what);
  if (strict_) {
    where.code = ErrorCode::input_warning;
    where.source = file_name_;
    where.line = line;
    throw Error(message, where);
  }
  ++count_;
  if (sink_ && count_ <= shown) sink_(message);
}

void FileWarnings::finish() const {
  if (sink_ && count_ > shown) {
    sink_(file_name_ + ": " + std::to_string(count_ - shown) + " more warning" + (count_ - shown == 1 ? "" : "s") +
          " like these");
  }
}

void FileWarnings::warn_of_numbers_left(const FreeFormatReader& reader, std::string_view read, Diagnostic where,
                                        std::string_view note) {
  const int left = reader.numbers_left_on_line();
  if (left == 0) return;
  // A decimal comma reads as two values and shifts every value after it: the
  // values read are wrong, not merely followed by something.
  if (const std::string& text = reader.decimal_comma(); !text.empty()) {
    where.code = ErrorCode::syntax_error;
    reader.fail("'" + text.substr(0, 40) + (text.size() > 40 ? "...'" : "'") +
                    " has a decimal comma, which reads as two values; write decimal points",
                where);
  }
  warn(reader.line_number(),
       std::to_string(left) + (left == 1 ? " more number after the " : " more numbers after the ") +
           std::string(read) + (left == 1 ? " is" : " are") + " ignored" + std::string(note),
       where);
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
