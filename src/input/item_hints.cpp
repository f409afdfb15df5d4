#include "input/item_hints.hpp"

#include "common/shown_number.hpp"

namespace irteq {

namespace {

// The first few values and how many there were, so that a long item does not
// make a screenful of one line.
template <class Value, class Show>
std::string listed(std::span<const Value> values, Show&& show) {
  constexpr std::size_t shown = 8;
  std::string text;
  for (std::size_t i = 0; i < values.size() && i < shown; ++i) text.append(i == 0 ? "" : " ").append(show(values[i]));
  if (values.size() > shown) text.append(" ... (" + std::to_string(values.size()) + " values)");
  return text;
}

}  // namespace

std::string item_before_hint(std::string_view label, std::span<const int> scores, std::span<const double> parameters,
                             int first_line, int last_line) {
  std::string hint = "; likely cause: the item before, ";
  hint.append(label)
      .append(", took the category scores ")
      .append(listed(scores, [](int score) { return std::to_string(score); }))
      .append(" and the parameters ")
      .append(listed(parameters, [](double value) { return shown_number(value); }))
      .append(" (lines " + std::to_string(first_line) + " to " + std::to_string(last_line) + ")")
      .append(": are its categories and values as many as its header says?");
  return hint;
}

std::string_view layout_hint() {
  return "; the header's line holds more numbers: each item is three reads, each starting on a new line: header; "
         "category scores; parameters";
}

bool looks_like_a_number(std::string_view code) {
  const char c = code.empty() ? ' ' : code.front();
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

}  // namespace irteq
