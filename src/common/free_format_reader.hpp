#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "irteq/error.hpp"

namespace irteq {

// Outcome of fetching one value of a list-directed read.
enum class Got {
  value,        // the target holds the value read
  kept,         // a slash ended the read, or a null value: the target keeps what it held
  end_of_file,  // the file ended before the value
};

// List-directed (free-format) reading of a text file, line by line.
//
// A read starts at the beginning of the next line and takes as many values as
// it needs from that line and the following ones; whatever is left on the last
// line it used is ignored. Values are separated by blanks, tabs or a comma;
// two commas in a row give a null value. A slash ends the read early, r*v
// stands for r copies of v, and text may be quoted with ' or " (a doubled
// quote inside stands for one). A malformed value throws an Error naming
// the file and the line.
class FreeFormatReader {
 public:
  FreeFormatReader(std::istream& in, std::string file_name);

  // Reads the next line whole (for fixed-width title reads). False at end of
  // file. A UTF-8 byte-order mark before the first line is skipped.
  bool read_line(std::string& line);

  // Gives back the line read_line read last: the next read_line, or read,
  // takes it again (a reader's look at a line that may be optional).
  void unread_line(std::string line);

  // Starts a new list-directed read on the next line.
  void begin_read();

  Got get_integer(int& value);
  Got get_real(double& value);
  Got get_text(std::string& value);
  // An integer, or quoted text: text is then set and value keeps what it
  // held; after an integer text is empty. Unquoted text that is not an
  // integer fails as in get_integer.
  Got get_integer_or_quoted(int& value, std::string& text);
  // Text that may be a path: unquoted, it runs to the next blank, tab or
  // comma, slashes included, and is taken as written (no r*v). A slash where
  // the value would start ends the read only when it stands alone (a blank,
  // tab, comma or the line's end follows) or is attached to the value before.
  Got get_path(std::string& value);

  // Throws an Error naming the file and the current line (or where.line when
  // set), then the context, then what: a syntax error unless where says otherwise.
  [[noreturn]] void fail(std::string_view what, Diagnostic where = {.code = ErrorCode::syntax_error}) const;
  // What is being read, for messages: "item 2 (number 2, MU, 4 categories): parameters: ".
  void set_context(std::string context) { context_ = std::move(context); }

  const std::string& file_name() const { return file_name_; }
  int line_number() const { return line_number_; }
  // The line the current read began on.
  int first_line_of_read() const { return first_line_of_read_; }
  // The line the current read ended on, and how many numbers follow on it
  // right after the values the read took (after a slash: none).
  const std::string& current_line() const { return line_; }
  int numbers_left_on_line() const;
  // What the current read has not taken of its line: empty after a slash, or
  // before the read has a line.
  std::string_view rest_of_line() const {
    return ended_ || !line_loaded_ ? std::string_view{} : std::string_view(line_).substr(position_);
  }
  // The first real number of the read on the current line that a comma and
  // digits follow, as "0,5": a decimal comma, when numbers are left over.
  // Empty when there is none.
  const std::string& decimal_comma() const { return decimal_comma_; }

 private:
  // An unquoted value is a view into the line; a quoted one, whose doubled
  // quotes become one, and a repeated one, which outlives its line, are views
  // into strings of the reader's own. Either is good until the next token.
  struct Token {
    std::string_view text;
    bool quoted = false;
  };

  Got next_token(Token& token, bool path = false);
  bool load_line();
  std::optional<std::string> unread_;
  void scan_quoted(std::string& text);
  std::string_view scan_unquoted();
  std::string_view scan_path();
  bool starts_path() const;

  std::istream& in_;
  std::string file_name_;
  std::string line_;
  std::size_t position_ = 0;
  int line_number_ = 0;
  int first_line_of_read_ = 0;
  std::string context_;
  std::string decimal_comma_;
  bool line_loaded_ = false;    // the current read has a line to take values from
  bool separator_owed_ = false; // a value was read and has not met its comma yet
  bool ended_ = false;          // a slash ended the current read
  int repeats_left_ = 0;
  bool repeat_is_null_ = false;
  bool repeat_quoted_ = false;
  std::string repeat_text_;
  std::string quoted_text_;
};

}  // namespace irteq
