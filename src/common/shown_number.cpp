#include "common/shown_number.hpp"

#include <charconv>
#include <stdexcept>

namespace irteq {

std::string shown_number(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  if (result.ec != std::errc{}) throw std::length_error("shown_number: no room for the digits");
  return std::string(buffer, result.ptr);
}

}  // namespace irteq
