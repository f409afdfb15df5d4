#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace irteq {

// Fixed-field output of report lines, appended to a line under construction.
//
// Iw and Fw.d right-align in w columns; a value too wide for its field fills it
// with asterisks. Fw.d always writes the decimal point, writes "0." for a value
// below 1 in magnitude only when the field has room, and writes "NaN", "INF"
// and "-INF" for values that are not finite.

void append_integer(std::string& line, long long value, int width);                 // Iw
void append_fixed(std::string& line, double value, int width, int decimals);         // Fw.d
void append_text(std::string& line, std::string_view text);                          // A
void append_text_right(std::string& line, std::string_view text, int width);         // Aw
// Fw.d when there is a value, else w blanks: a value the run does not have.
void append_optional_fixed(std::string& line, const std::optional<double>& value, int width, int decimals);

// One blank, then each integer in 12 columns: the free-format echo of integers.
void append_free_integers(std::string& line, std::span<const int> values);

}  // namespace irteq
