#include "common/free_format_reader.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>
#include <utility>

#include "common/number_text.hpp"
#include "irteq/limits.hpp"

namespace irteq {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool ends_unquoted(char c) { return is_blank(c) || c == ',' || c == '/'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A value as a message quotes it: a runaway value is cut short so that the message stays readable.
std::string shown(std::string_view text) {
  constexpr std::size_t longest = 40;
  std::string quoted(1, '\'');
  if (text.size() <= longest) return quoted.append(text).append(1, '\'');
  return quoted.append(text, 0, longest).append("...' (" + std::to_string(text.size()) + " characters)");
}

// Digits with an optional sign, nothing else.
bool is_integer_text(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (!is_digit(text[i])) return false;
  }
  return true;
}

}  // namespace

FreeFormatReader::FreeFormatReader(std::istream& in, std::string file_name)
    : in_(in), file_name_(std::move(file_name)) {}

void FreeFormatReader::fail(std::string_view what, Diagnostic where) const {
  // An empty file ends before its first line: report that line.
  if (where.line == 0) where.line = line_number_ < 1 ? 1 : line_number_;
  where.source = file_name_;
  throw Error(file_name_ + " line " + std::to_string(where.line) + ": " + context_ + std::string(what), where);
}

void FreeFormatReader::unread_line(std::string line) {
  unread_ = std::move(line);
  --line_number_;
}

bool FreeFormatReader::read_line(std::string& line) {
  if (unread_) {
    line = std::move(*unread_);
    unread_.reset();
    ++line_number_;
    return true;
  }
  // In chunks, and never more than one character past the cap, so that a file
  // without line ends (a binary file, /dev/zero) ends the run at once in
  // bounded memory.
  constexpr auto cap = static_cast<std::size_t>(max_line_length);
  line.clear();
  bool any = false;
  for (;;) {
    char chunk[4096];
    const std::size_t room = std::min(sizeof chunk - 1, cap + 1 - line.size());
    // getline stops after a line end (taken, not stored: the stream stays
    // good), at the end of the file, or with room characters stored (failbit).
    in_.getline(chunk, static_cast<std::streamsize>(room + 1));
    const auto got = static_cast<std::size_t>(in_.gcount());
    const bool line_end = in_.good();
    const std::size_t stored = line_end ? got - 1 : got;
    any = any || got > 0;
    if (line.size() + stored > cap) {
      fail("the line is longer than " + std::to_string(max_line_length) +
               " characters (1 MiB), the most a line may hold: is this a text file?",
           {.code = ErrorCode::limit_exceeded, .line = line_number_ + 1});
    }
    line.append(chunk, stored);
    if (in_.bad()) {
      throw Error("cannot read " + file_name_ + ": input error", {.code = ErrorCode::file_error, .source = file_name_});
    }
    if (line_end || in_.eof() || got != room) break;
    in_.clear();  // the chunk was full: the line goes on
  }
  if (!any) return false;
  ++line_number_;
  if (!line.empty() && line.back() == '\r') line.pop_back();  // files written with CR LF
  // Editors on Windows start UTF-8 files with a byte-order mark; it is not part of the text.
  if (line_number_ == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
  return true;
}

int FreeFormatReader::numbers_left_on_line() const {
  if (ended_ || !line_loaded_) return 0;
  // Only numbers right after the values count: a comment that mentions a
  // number further on is a comment.
  int numbers = 0;
  std::size_t i = position_;
  while (i < line_.size() && line_[i] != '/') {
    if (is_blank(line_[i]) || line_[i] == ',') {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < line_.size() && !ends_unquoted(line_[i])) ++i;
    if (!is_real_text(std::string_view(line_).substr(start, i - start))) break;
    ++numbers;
  }
  return numbers;
}

bool FreeFormatReader::load_line() {
  if (!read_line(line_)) return false;
  if (!line_loaded_) first_line_of_read_ = line_number_;
  position_ = 0;
  decimal_comma_.clear();
  line_loaded_ = true;
  return true;
}

void FreeFormatReader::begin_read() {
  line_loaded_ = false;
  decimal_comma_.clear();
  separator_owed_ = false;
  ended_ = false;
  repeats_left_ = 0;
}

void FreeFormatReader::scan_quoted(std::string& text) {
  const char quote = line_[position_++];
  text.clear();
  for (;;) {
    if (position_ >= line_.size()) fail("missing closing quote " + std::string(1, quote));
    const char c = line_[position_++];
    if (c != quote) {
      text += c;
    } else if (position_ < line_.size() && line_[position_] == quote) {
      text += quote;  // a doubled quote stands for one
      ++position_;
    } else {
      return;
    }
  }
}

std::string_view FreeFormatReader::scan_unquoted() {
  const std::string_view line = line_;
  const std::size_t start = position_;
  std::size_t i = start;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (ends_unquoted(c)) break;
    // In r*'text' the quoted value starts right after the star.
    if ((c == '\'' || c == '"') && i > start && line[i - 1] == '*') break;
  }
  position_ = i;
  return line.substr(start, i - start);
}

// The slash at the current position begins a path: it follows a separator
// or the line's start, and text follows it.
bool FreeFormatReader::starts_path() const {
  const bool after_separator = position_ == 0 || is_blank(line_[position_ - 1]) || line_[position_ - 1] == ',';
  const bool text_follows = position_ + 1 < line_.size() && !is_blank(line_[position_ + 1]) &&
                            line_[position_ + 1] != ',';
  return after_separator && text_follows;
}

std::string_view FreeFormatReader::scan_path() {
  const std::size_t start = position_;
  while (position_ < line_.size() && !is_blank(line_[position_]) && line_[position_] != ',') ++position_;
  return std::string_view(line_).substr(start, position_ - start);
}

Got FreeFormatReader::next_token(Token& token, bool path) {
  if (ended_) return Got::kept;
  if (repeats_left_ > 0) {
    --repeats_left_;
    if (repeat_is_null_) return Got::kept;
    token = {repeat_text_, repeat_quoted_};
    return Got::value;
  }
  for (;;) {
    if (!line_loaded_ || position_ >= line_.size()) {
      if (!load_line()) return Got::end_of_file;
      continue;
    }
    const char c = line_[position_];
    if (is_blank(c)) {
      ++position_;
    } else if (c == ',') {
      ++position_;
      if (!separator_owed_) return Got::kept;  // two commas in a row: a null value
      separator_owed_ = false;
    } else if (c == '/' && !(path && starts_path())) {
      ended_ = true;
      return Got::kept;
    } else {
      break;
    }
  }
  if (line_[position_] == '\'' || line_[position_] == '"') {
    scan_quoted(quoted_text_);
    token = {quoted_text_, true};
  } else if (path) {
    token = {scan_path(), false};
  } else {
    token = {scan_unquoted(), false};
    // r*v: r copies of v; r* alone: r null values.
    const std::size_t star = token.text.find('*');
    if (star != std::string_view::npos && star > 0 && is_integer_text(token.text.substr(0, star)) &&
        is_digit(token.text[0])) {
      int count = 0;
      const auto [end, error] = std::from_chars(token.text.data(), token.text.data() + star, count);
      if (error != std::errc{} || end != token.text.data() + star || count < 1) {
        fail("bad repeat count in " + shown(token.text));
      }
      const std::string_view rest = token.text.substr(star + 1);
      if (rest.empty() && position_ < line_.size() && (line_[position_] == '\'' || line_[position_] == '"')) {
        scan_quoted(repeat_text_);
        repeat_quoted_ = true;
        repeat_is_null_ = false;
      } else {
        repeat_text_.assign(rest);
        repeat_quoted_ = false;
        repeat_is_null_ = repeat_text_.empty();
      }
      separator_owed_ = true;
      repeats_left_ = static_cast<int>(count) - 1;
      if (repeat_is_null_) return Got::kept;
      token = {repeat_text_, repeat_quoted_};
      return Got::value;
    }
  }
  if (position_ < line_.size() && !ends_unquoted(line_[position_])) {
    fail("expected a separator after " + shown(token.text));
  }
  separator_owed_ = true;
  return Got::value;
}

Got FreeFormatReader::get_integer(int& value) {
  Token token;
  const Got got = next_token(token);
  if (got != Got::value) return got;
  if (token.quoted || !is_integer_text(token.text)) fail("expected an integer, found " + shown(token.text));
  if (!parse_integer(token.text, value)) fail("integer out of range: " + shown(token.text));
  return Got::value;
}

Got FreeFormatReader::get_integer_or_quoted(int& value, std::string& text) {
  Token token;
  const Got got = next_token(token);
  if (got != Got::value) return got;
  if (token.quoted) {
    if (token.text.empty()) fail("an empty quoted label names no item");
    text.assign(token.text);
    return Got::value;
  }
  if (!is_integer_text(token.text)) fail("expected an integer, found " + shown(token.text));
  if (!parse_integer(token.text, value)) fail("integer out of range: " + shown(token.text));
  text.clear();
  return Got::value;
}

Got FreeFormatReader::get_real(double& value) {
  Token token;
  const Got got = next_token(token);
  if (got != Got::value) return got;
  if (token.quoted || !is_real_text(token.text)) fail("expected a number, found " + shown(token.text));
  // Too large for a double: infinity would flow on into every result. Values
  // too small become zero or subnormal, which is harmless.
  if (!parse_real(token.text, value)) fail("number out of range: " + shown(token.text));
  // A whole number, then a comma and digits: "0,5" written for 0.5.
  if (decimal_comma_.empty() && is_integer_text(token.text) && position_ + 1 < line_.size() &&
      line_[position_] == ',' && is_digit(line_[position_ + 1])) {
    std::size_t end = position_ + 1;
    while (end < line_.size() && is_digit(line_[end])) ++end;
    if (end == line_.size() || ends_unquoted(line_[end])) {
      decimal_comma_.assign(token.text).append(line_, position_, end - position_);
    }
  }
  return Got::value;
}

Got FreeFormatReader::get_text(std::string& value) {
  Token token;
  const Got got = next_token(token);
  if (got != Got::value) return got;
  value.assign(token.text);
  return Got::value;
}

Got FreeFormatReader::get_path(std::string& value) {
  Token token;
  const Got got = next_token(token, true);
  if (got != Got::value) return got;
  value.assign(token.text);
  return Got::value;
}

}  // namespace irteq
