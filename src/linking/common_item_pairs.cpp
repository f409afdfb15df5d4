// Resolving the common-item file's pairs of item numbers or labels into the
// items they name. Numbers are those written in the item files and labels
// those the calibration programs gave; neither need be unique, so one written
// for two items of a form cannot name a common item.
#include "linking/common_item_pairs.hpp"

#include <string>

#include "common/shown_number.hpp"
#include "irteq/error.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

namespace {

// "form X item 3", with the label of the item a number found, when it has one: "form X item 3 (label R03)".
std::string form_item(const CommonItemPair& p, bool form_x, const Item* item = nullptr) {
  std::string text = std::string("form ") + (form_x ? "X" : "Y") + " item " + pair_item_name(p, form_x);
  if (item != nullptr && (form_x ? p.x_label : p.y_label).empty() && !item->label.empty()) {
    text += " (label " + item->label + ")";
  }
  return text;
}

// x and y: the pair's items, once found.
[[noreturn]] void fail(const LinkingInput& input, std::size_t pair, const std::string& problem,
                       const Item* x = nullptr, const Item* y = nullptr) {
  const CommonItemPair& p = input.common[pair];
  std::string where = input.common_items_name;
  if (p.line > 0) where += " line " + std::to_string(p.line);
  throw Error(where + ": pair " + std::to_string(pair + 1) + " (" + form_item(p, true, x) + ", " +
                  form_item(p, false, y) + "): " + problem,
              {.code = ErrorCode::invalid_input,
               .input = InputPart::common_items,
               .source = input.common_items_name,
               .line = p.line,
               .row = static_cast<int>(pair + 1)});
}

// The position of the one item with the pair's number, or label when it has
// one, in the form; or a message why there is none.
std::size_t position_of(const LinkingInput& input, std::size_t pair, const std::vector<Item>& items, bool form_x) {
  const CommonItemPair& p = input.common[pair];
  const int number = form_x ? p.x_number : p.y_number;
  const std::string& label = form_x ? p.x_label : p.y_label;
  const std::string form = form_x ? "X" : "Y";
  const std::string named = label.empty() ? "numbered " + std::to_string(number) : "labelled '" + label + "'";
  std::size_t found = items.size();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (label.empty() ? items[i].number != number : items[i].label != label) continue;
    if (found != items.size()) {
      fail(input, pair, "form " + form + " has two items " + named + " (items " + std::to_string(found + 1) +
                            " and " + std::to_string(i + 1) + "); a common item's " +
                            (label.empty() ? "number" : "label") + " must name one item");
    }
    found = i;
  }
  if (found == items.size()) fail(input, pair, "form " + form + " has no item " + named);
  return found;
}

std::string scores_text(const std::vector<int>& scores) {
  std::string text;
  for (const int score : scores) {
    if (!text.empty()) text += ' ';
    text += std::to_string(score);
  }
  return text;
}

// What makes the two items of a pair differ, or nothing.
std::string difference(const Item& x, const Item& y) {
  const auto code = [](const Item& item) {
    std::string text(1, '"');
    text += item_code(item.model);
    text += '"';
    return text;
  };
  if (x.model != y.model) return "the items differ in model: " + code(x) + " in form X, " + code(y) + " in form Y";
  if (x.category_scores.size() != y.category_scores.size()) {
    return "the items differ in categories: " + std::to_string(x.category_scores.size()) + " in form X, " +
           std::to_string(y.category_scores.size()) + " in form Y";
  }
  if (x.category_scores != y.category_scores) {
    return "the items differ in category scores: " + scores_text(x.category_scores) + " in form X, " +
           scores_text(y.category_scores) + " in form Y";
  }
  if (has_scaling_constant(x.model) && !x.parameters.empty() && !y.parameters.empty() &&
      x.parameters[0] != y.parameters[0]) {
    return "the items differ in D: " + shown_number(x.parameters[0]) + " in form X, " +
           shown_number(y.parameters[0]) + " in form Y";
  }
  return {};
}

}  // namespace

std::string pair_item_name(const CommonItemPair& pair, bool form_x) {
  const std::string& label = form_x ? pair.x_label : pair.y_label;
  if (!label.empty()) return "'" + label + "'";
  return std::to_string(form_x ? pair.x_number : pair.y_number);
}

std::vector<CommonItemPositions> common_item_positions(const EquatingInput& forms, const LinkingInput& input) {
  std::vector<CommonItemPositions> positions;
  std::vector<int> pair_of_x(forms.items_x.size(), 0);
  std::vector<int> pair_of_y(forms.items_y.size(), 0);
  for (std::size_t pair = 0; pair < input.common.size(); ++pair) {
    const CommonItemPair& p = input.common[pair];
    const std::size_t x = position_of(input, pair, forms.items_x, true);
    const std::size_t y = position_of(input, pair, forms.items_y, false);
    const Item* x_item = &forms.items_x[x];
    const Item* y_item = &forms.items_y[y];
    const auto check_unused = [&](int used, bool form_x) {
      if (used != 0) {
        fail(input, pair,
             form_item(p, form_x) + " is already in pair " + std::to_string(used) +
                 "; an item links once",
             x_item, y_item);
      }
    };
    check_unused(pair_of_x[x], true);
    check_unused(pair_of_y[y], false);
    pair_of_x[x] = static_cast<int>(pair + 1);
    pair_of_y[y] = static_cast<int>(pair + 1);
    const std::string problem = difference(forms.items_x[x], forms.items_y[y]);
    if (!problem.empty()) fail(input, pair, problem, x_item, y_item);
    positions.push_back({x, y});
  }
  if (positions.size() < 2) {
    const Diagnostic where{.code = ErrorCode::invalid_input, .input = InputPart::common_items,
                           .source = input.common_items_name};
    throw Error(input.common_items_name + ": " + std::to_string(positions.size()) +
                    (positions.size() == 1 ? " pair" : " pairs") + " of common items; linking needs at least two",
                where);
  }
  return positions;
}

}  // namespace irteq
