#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace irteq {

// Numbers to and from text in the C conventions whatever the process locale
// (a host such as an R session may run under a comma-decimal locale), by
// std::from_chars and std::to_chars.

// [sign] (digits [. [digits]] | . digits) [(E|D) [sign] digits], letters in
// either case: a real number as the readers take it.
bool is_real_text(std::string_view text);

// A whole text as one real number by the readers' rule: is_real_text, then
// parse_real. False for anything else ("nan", "inf", trailing text) and
// for a magnitude beyond the double range.
bool parse_number(std::string_view text, double& value);

// The words of a line between any of the separators, in order.
std::vector<std::string_view> split_words(std::string_view line, std::string_view separators);

// Digits with an optional sign; false when the value does not fit an int.
bool parse_integer(std::string_view text, int& value);

// [sign] digits [. digits] [(e|E|d|D) [sign] digits], already checked as such.
// False when the magnitude is beyond the double range; a value below it
// becomes zero or subnormal.
bool parse_real(std::string_view text, double& value);

// printf's "%.*f": the exactly rounded decimal with that many decimals.
std::string fixed_text(double value, int decimals);

// The shortest text that reads back to the same double ("0.1", "1e+20", "-8").
std::string shortest_text(double value);

}  // namespace irteq
