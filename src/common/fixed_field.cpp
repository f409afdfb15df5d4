#include "common/fixed_field.hpp"

#include <charconv>
#include <cmath>

#include "common/number_text.hpp"

namespace irteq {

namespace {

void append_asterisks(std::string& line, int width) { line.append(static_cast<std::size_t>(width), '*'); }

void append_right(std::string& line, std::string_view text, int width) {
  if (static_cast<int>(text.size()) > width) {
    append_asterisks(line, width);
    return;
  }
  line.append(static_cast<std::size_t>(width) - text.size(), ' ');
  line.append(text);
}

}  // namespace

void append_integer(std::string& line, long long value, int width) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  append_right(line, std::string_view(buffer, result.ptr), width);
}

void append_fixed(std::string& line, double value, int width, int decimals) {
  if (std::isnan(value)) {
    append_right(line, "NaN", width);
    return;
  }
  if (std::isinf(value)) {
    append_right(line, value < 0 ? "-INF" : "INF", width);
    return;
  }
  // Values far beyond any field are asterisks without formatting them in full.
  if (std::fabs(value) >= 1e60) {
    append_asterisks(line, width);
    return;
  }
  std::string digits = fixed_text(value, decimals);
  if (decimals == 0) digits += '.';
  const std::string_view text(digits);
  const auto length = static_cast<int>(text.size());
  if (length > width) {
    // Drop the optional zero before the point when that makes the value fit.
    const std::size_t sign = text[0] == '-' ? 1 : 0;
    if (text.substr(sign, 2) == "0." && length - 1 <= width) {
      line.append(static_cast<std::size_t>(width - (length - 1)), ' ');
      line.append(text.substr(0, sign));
      line.append(text.substr(sign + 1));
      return;
    }
  }
  append_right(line, text, width);
}

void append_text(std::string& line, std::string_view text) { line.append(text); }

void append_optional_fixed(std::string& line, const std::optional<double>& value, int width, int decimals) {
  if (value) {
    append_fixed(line, *value, width, decimals);
  } else {
    line.append(static_cast<std::size_t>(width), ' ');
  }
}

void append_text_right(std::string& line, std::string_view text, int width) {
  if (static_cast<int>(text.size()) >= width) {
    line.append(text.substr(0, static_cast<std::size_t>(width)));
  } else {
    line.append(static_cast<std::size_t>(width) - text.size(), ' ');
    line.append(text);
  }
}

void append_free_integers(std::string& line, std::span<const int> values) {
  line += ' ';
  for (const int value : values) append_integer(line, value, 12);
}

}  // namespace irteq
