#include "models/item_problems.hpp"

#include "common/shown_number.hpp"
#include "irteq/limits.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

namespace {

std::string quoted_code(ItemModel model) {
  std::string text(1, '"');
  text += item_code(model);
  text += '"';
  return text;
}

// Graded thresholds b(1..m-1) start at first_threshold; slope is the
// product that multiplies theta - b(k).
std::string graded_problem(int m, std::span<const double> parameters, std::size_t first_threshold, double slope) {
  for (int k = 1; k + 1 < m; ++k) {
    const double b = parameters[first_threshold + static_cast<std::size_t>(k - 1)];
    const double next = parameters[first_threshold + static_cast<std::size_t>(k)];
    // P(category k+1 or higher) must not exceed P(category k or higher).
    if (slope * (next - b) < 0.0) {
      return "the thresholds b(" + std::to_string(k) + ") = " + shown_number(b) + " and b(" + std::to_string(k + 1) +
             ") = " + shown_number(next) + " give category " + std::to_string(k + 1) +
             " a negative probability; with a " + (slope > 0.0 ? "positive" : "negative") + " slope they must not " +
             (slope > 0.0 ? "decrease" : "increase");
    }
  }
  return {};
}

}  // namespace

std::string item_label(int position, int number, std::string_view code, int m, std::string_view label) {
  const std::string labelled = label.empty() ? std::string() : ", label " + std::string(label);
  return "item " + std::to_string(position) + " (number " + std::to_string(number) + labelled + ", " +
         std::string(code) + ", " +
         std::to_string(m) + (m == 1 ? " category)" : " categories)");
}

std::string unknown_code_message(std::string_view code) {
  std::string codes;
  const auto& table = item_model_table;
  for (std::size_t i = 0; i < table.size(); ++i) {
    codes += i == 0 ? "" : i + 1 == table.size() ? " and " : ", ";
    codes += table[i].code;
  }
  return "unknown item type code '" + std::string(code) + "'; the codes are " + codes;
}

std::string model_problem(ItemModel model) {
  if (known_model(model)) return {};
  return "unknown item model " + std::to_string(static_cast<int>(model)) +
         "; ItemModel holds l3, sn, sl, bn and mu";
}

std::string category_count_problem(int m) {
  if (m >= 1 && m <= max_categories) return {};
  return std::to_string(m) + " categories; an item has 1 to " + std::to_string(max_categories);
}

std::string model_category_problem(ItemModel model, int m) {
  const ItemModelFacts& facts = model_facts(model);
  if (facts.categories != 0 && m != facts.categories) {
    return "an " + quoted_code(model) + " item has " + std::to_string(facts.categories) + " categories, not " +
           std::to_string(m);
  }
  // Items are held as the model they are evaluated as: "MU" items as "BN" items of 2m + 1 values.
  const int stored = parameter_count(facts.evaluated_as, m);
  if (stored > max_parameters) {
    return std::to_string(stored) + " parameter values; an item holds at most " + std::to_string(max_parameters) +
           " (60 categories for " + quoted_code(model) + " items)";
  }
  return {};
}

std::string parameter_count_problem(ItemModel model, int m, std::size_t count) {
  const int expected = parameter_count(model, m);
  if (count == static_cast<std::size_t>(expected)) return {};
  return quoted_code(model) + " items of " + std::to_string(m) + " categories take " + std::to_string(expected) +
         " parameter values, not " + std::to_string(count);
}

std::string score_order_problem(std::span<const int> scores) {
  for (const int score : scores) {
    if (score < scores.front() || score > scores.back()) {
      return "the first category score must be the lowest and the last the highest";
    }
  }
  return {};
}

std::string parameter_problem(ItemModel model, int m, std::span<const double> parameters) {
  const ItemModelFacts& facts = model_facts(model);
  for (std::size_t g = 0; g < facts.group_count; ++g) {
    const ParameterGroup& group = facts.groups[g];
    const std::size_t start = group_start(model, m, g);
    if (group.role == ParameterRole::asymptote) {
      const double c = parameters[start];
      if (!(c >= 0.0 && c <= 1.0)) return "the lower asymptote c = " + shown_number(c) + " must lie between 0 and 1";
    }
    if (group.role == ParameterRole::location && group.indexed) {
      // Graded thresholds: the slope that multiplies theta - b(k) is D a, or a without D.
      const std::size_t a = group_start(model, m, has_scaling_constant(model) ? 1 : 0);
      const double slope = has_scaling_constant(model) ? parameters[0] * parameters[a] : parameters[a];
      if (std::string problem = graded_problem(m, parameters, start, slope); !problem.empty()) return problem;
    }
  }
  return {};
}

}  // namespace irteq
