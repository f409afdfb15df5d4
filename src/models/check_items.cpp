// The checks of a form's items built in memory, made before anything is
// computed from them; the file reader makes the same checks as it reads.
#include "models/check_items.hpp"

#include <cmath>

#include "common/shown_number.hpp"
#include "irteq/limits.hpp"
#include "irteq/validate.hpp"
#include "models/item_problems.hpp"

namespace irteq {

namespace {

[[noreturn]] void fail_items(const std::string& name, const std::string& what, Diagnostic where) {
  where.source = name;
  throw Error(name + ": " + what, where);
}

}  // namespace

void check_items(const std::vector<Item>& items, const std::string& name, InputPart input) {
  if (items.empty()) fail_items(name, "the form holds no items", {.code = ErrorCode::invalid_input, .input = input});
  if (items.size() > static_cast<std::size_t>(max_items)) {
    fail_items(name, "more than " + std::to_string(max_items) + " items; a form holds at most " + std::to_string(max_items),
         {.code = ErrorCode::limit_exceeded, .input = input});
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    const int position = static_cast<int>(i + 1);
    const auto m = static_cast<int>(item.category_scores.size());
    const auto item_failure = [&](ErrorCode code, const std::string& problem) {
      if (!problem.empty()) {
        fail_items(name, item_label(position, item.number, item_code(item.model), m, item.label) + ": " + problem,
             {.code = code, .input = input, .item = position});
      }
    };
    item_failure(ErrorCode::unknown_item_type, model_problem(item.model));
    item_failure(ErrorCode::limit_exceeded, category_count_problem(m));
    item_failure(ErrorCode::invalid_input, score_order_problem(item.category_scores));
    item_failure(item.model == ItemModel::l3 ? ErrorCode::invalid_input : ErrorCode::limit_exceeded,
                 model_category_problem(item.model, m));
    item_failure(ErrorCode::invalid_input, parameter_count_problem(item.model, m, item.parameters.size()));
    for (std::size_t k = 0; k < item.parameters.size(); ++k) {
      if (!std::isfinite(item.parameters[k])) {
        item_failure(ErrorCode::invalid_input, "parameter " + std::to_string(k + 1) + " is " +
                                                   shown_number(item.parameters[k]) + ", not a finite number");
      }
    }
    item_failure(ErrorCode::invalid_input, parameter_problem(item.model, m, item.parameters));
  }
}

ItemModel checked_item_model(std::string_view code, const std::string& name, int position, int number,
                             int categories, InputPart input) {
  if (const std::optional<ItemModel> model = item_model(code)) return *model;
  fail_items(name, item_label(position, number, code, categories) + ": " + unknown_code_message(code),
             {.code = ErrorCode::unknown_item_type, .input = input, .item = position});
}

void validate_items(const std::vector<Item>& items, const std::string& name) {
  check_items(items, name, InputPart::none);
}

}  // namespace irteq
