// Reader of cut-score files: a title line; optionally the lowest level's
// name alone on its line, in quotes; then one cut per line, the scale score
// at which a level starts, optionally followed by that level's name in
// quotes. After a cut or a name only a comment after a slash may follow: a
// second number or an unquoted word there is most likely a cut or a name
// the file would otherwise lose. Whether the cuts fit form Y's scale is
// checked_cut_scores' to say, which names each cut's line.
#include <algorithm>
#include <string_view>

#include "common/fixed_field.hpp"
#include "common/number_text.hpp"
#include "input/titled_file.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"

namespace irteq {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The next line that holds anything but blanks and tabs; false at the end of the file.
bool next_filled_line(FreeFormatReader& reader, std::string& line) {
  while (reader.read_line(line)) {
    if (line.find_first_not_of(" \t") != std::string::npos) return true;
  }
  return false;
}

bool starts_quoted(std::string_view text) {
  const std::size_t at = text.find_first_not_of(" \t");
  return at != std::string_view::npos && (text[at] == '\'' || text[at] == '"');
}

// What follows the values of the read on its line: past the blanks and the one comma that may end a value.
std::string_view next_word(std::string_view rest) {
  std::size_t at = 0;
  while (at < rest.size() && is_blank(rest[at])) ++at;
  if (at < rest.size() && rest[at] == ',') ++at;
  while (at < rest.size() && is_blank(rest[at])) ++at;
  rest.remove_prefix(at);
  if (rest.empty() || rest.front() == '/') return {};  // the line's end, or a comment
  if (rest.front() == '\'' || rest.front() == '"') return rest.substr(0, 1);
  // A second comma is a word of its own: it leaves a value unread.
  return rest.substr(0, std::clamp<std::size_t>(rest.find_first_of(" \t,/"), 1, rest.size()));
}

std::string in_quotes(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string shown(std::string_view word) {
  std::string text(1, '\'');
  return text.append(word.substr(0, 40)).append(word.size() > 40 ? "...'" : "'");
}

}  // namespace

CutScores read_cut_scores(std::istream& in, const std::string& name, const ReadOptions& options) {
  TitledFile titled(in, name, options);
  const Echo& echo = titled.echo;
  FreeFormatReader& reader = titled.reader;
  titled.echo_title();

  CutScores file;
  file.name = name;
  const std::string layout = "a cut's line holds the cut, then optionally its level's name in quotes "
                             "(150 \"Proficient\"), then at most a comment after a slash";
  // The names as the file gives them, lowest level first; an empty one gets its number at the end.
  std::vector<std::string> names(1);
  std::string line;
  if (next_filled_line(reader, line)) {
    reader.unread_line(line);
    if (starts_quoted(line)) {
      reader.begin_read();
      reader.get_text(names[0]);
      if (const std::string_view word = next_word(reader.rest_of_line()); !word.empty()) {
        reader.fail(shown(word) + " after the lowest level's name; that name stands alone on its line, and " + layout);
      }
      echo.line(in_quotes(names[0]));
    }
  }

  double cut = 0.0;
  for (;;) {
    reader.set_context({});
    if (!next_filled_line(reader, line)) break;
    const int row = static_cast<int>(file.cuts.size()) + 1;
    const Diagnostic where{.code = ErrorCode::syntax_error, .row = row};
    reader.unread_line(line);
    reader.begin_read();
    if (starts_quoted(line)) {
      std::string label;
      reader.get_text(label);
      reader.fail("the level name " + shown(label) + " has no cut; " +
                      (row == 1 ? "only the lowest level's name stands alone, on the first line after the title"
                                : layout),
                  where);
    }
    reader.set_context("cut " + std::to_string(row) + ": ");
    if (reader.get_real(cut) != Got::value) {
      reader.fail("no cut score where the line starts (a slash or a comma stands there)", where);
    }
    if (row > max_score_points) {
      reader.fail("more than " + std::to_string(max_score_points) + " cut scores",
                  {.code = ErrorCode::limit_exceeded, .row = row});
    }
    std::string level;
    std::string_view word = next_word(reader.rest_of_line());
    if (word == "'" || word == "\"") {
      reader.get_text(level);
      word = next_word(reader.rest_of_line());
      if (!word.empty()) reader.fail(shown(word) + " after the level's name; " + layout, where);
    } else if (!word.empty()) {
      const bool comma = is_real_text(word) && !reader.decimal_comma().empty();
      reader.fail(shown(word) + " after the cut; " + layout +
                      (comma ? " (a decimal comma? write the cut with a point)" : ""),
                  where);
    }
    std::string echoed;
    append_text_right(echoed, shortest_text(cut), 12);
    if (!level.empty()) echoed += "  " + in_quotes(level);
    echo.line(echoed);
    file.cuts.push_back(cut);
    file.lines.push_back(reader.line_number());
    names.push_back(std::move(level));
  }
  if (file.cuts.empty()) reader.fail("the file holds no cut scores; write one per line after the title");
  for (std::size_t k = 0; k < names.size(); ++k) {
    file.levels.push_back(names[k].empty() ? std::to_string(k + 1) : std::move(names[k]));
  }
  titled.warnings.finish();
  return file;
}

}  // namespace irteq
