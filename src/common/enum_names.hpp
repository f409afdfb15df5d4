#pragma once

// The names of a public enum's values, as one table per enum, so that the
// name function and the parser of each are the same table read both ways.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace irteq {

// Names are taken in any case: A-Z folded to a-z whatever the process locale.
inline std::string ascii_lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

template <class Enum, std::size_t N>
using NameTable = std::array<std::pair<Enum, std::string_view>, N>;

template <class Enum, std::size_t N>
std::string_view name_in(const NameTable<Enum, N>& table, Enum value) {
  for (const auto& [known, name] : table) {
    if (known == value) return name;
  }
  return "unknown";
}

template <class Enum, std::size_t N>
std::optional<Enum> value_in(const NameTable<Enum, N>& table, std::string_view name) {
  for (const auto& [value, known] : table) {
    if (known == name) return value;
  }
  return std::nullopt;
}

}  // namespace irteq
