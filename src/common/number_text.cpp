#include "common/number_text.hpp"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <system_error>

namespace irteq {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Decimal exponent of the leading significant digit: positive for magnitudes
// of 1 and above. Decides whether a value out of range overflowed or underflowed.
long long leading_exponent(std::string_view text) {
  std::size_t i = 0;
  long long before_point = 0;
  long long zeros_after_point = 0;
  bool significant = false;
  bool after_point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.') {
      after_point = true;
    } else if (is_digit(c)) {
      if (c != '0') significant = true;
      if (!after_point && significant) ++before_point;
      if (after_point && !significant) ++zeros_after_point;
    } else if (c != '+' && c != '-') {
      break;
    }
  }
  long long exponent = 0;
  if (i < text.size()) {
    // The exponent of a value that did not fit: its digits decide, so clamp them.
    std::size_t j = i + 1;
    const bool negative = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    for (; j < text.size() && is_digit(text[j]); ++j) {
      if (exponent < 100000000) exponent = exponent * 10 + (text[j] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return exponent + (before_point > 0 ? before_point - 1 : -zeros_after_point - 1);
}

}  // namespace

bool is_real_text(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && is_digit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && is_digit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i == text.size()) return true;
  if (text[i] != 'e' && text[i] != 'E' && text[i] != 'd' && text[i] != 'D') return false;
  ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t exponent_digits = 0;
  while (i < text.size() && is_digit(text[i])) ++i, ++exponent_digits;
  return exponent_digits > 0 && i == text.size();
}

bool parse_number(std::string_view text, double& value) { return is_real_text(text) && parse_real(text, value); }

std::vector<std::string_view> split_words(std::string_view line, std::string_view separators) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size()) {
    at = line.find_first_not_of(separators, at);
    if (at == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(separators, at), line.size());
    words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

bool parse_integer(std::string_view text, int& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc{} || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

bool parse_real(std::string_view text, double& value) {
  std::string_view plain = text.substr(!text.empty() && text.front() == '+' ? 1 : 0);
  // from_chars knows no D exponent, so only text with one is copied. In text
  // of the checked form, that letter stands right before the exponent's sign and digits.
  std::size_t letter = plain.size();
  while (letter > 0 && is_digit(plain[letter - 1])) --letter;
  if (letter > 0 && (plain[letter - 1] == '+' || plain[letter - 1] == '-')) --letter;
  std::string with_e;
  if (letter > 0 && (plain[letter - 1] == 'd' || plain[letter - 1] == 'D')) {
    with_e.assign(plain);
    for (char& c : with_e) {
      if (c == 'd' || c == 'D') c = 'e';
    }
    plain = with_e;
  }
  double parsed = 0.0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
  if (error == std::errc::result_out_of_range) {
    if (leading_exponent(plain) > 0) return false;
    parsed = plain.front() == '-' ? -0.0 : 0.0;
  } else if (error != std::errc{} || end != plain.data() + plain.size()) {
    return false;
  }
  value = parsed;
  return true;
}

std::string fixed_text(double value, int decimals) {
  char buffer[400];  // 1e308 in full with up to 80 decimals
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc{}) throw std::length_error("fixed_text: no room for the digits");
  return std::string(buffer, result.ptr);
}

std::string shortest_text(double value) {
  char buffer[32];  // at most 24 characters: -1.2345678901234567e-308
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (result.ec != std::errc{}) throw std::length_error("shortest_text: no room for the digits");
  return std::string(buffer, result.ptr);
}

}  // namespace irteq
