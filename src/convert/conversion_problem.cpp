#include <cmath>
#include <string>

#include "common/shown_number.hpp"
#include "convert/item_conversion.hpp"

namespace irteq {

namespace {

struct Counts {
  std::size_t fewest;
  std::size_t most;
  const char* values;  // what the form takes, for the message
};

Counts value_counts(SourceForm form, std::size_t m) {
  switch (form) {
    case SourceForm::logistic_intercept: return {2, 3, "a, d and g (g may be left off for 0)"};
    case SourceForm::logistic_difficulty: return {2, 3, "a, b and c (c may be left off for 0)"};
    case SourceForm::graded_intercept:
    case SourceForm::graded_normal_intercept: return {m, m, "a and m-1 intercepts d(1..m-1)"};
    case SourceForm::graded_difficulty:
    case SourceForm::graded_normal_difficulty: return {m, m, "a and m-1 thresholds b(1..m-1)"};
    case SourceForm::partial_credit_steps: return {m, m, "a and m-1 steps b(1..m-1)"};
    case SourceForm::partial_credit_muraki: return {m + 1, m + 2, "a, b and the deviations d(1..m-1) or d(0..m-1)"};
    case SourceForm::partial_credit_thresholds: return {m + 1, m + 2, "a, b and the thresholds t(1..m-1) or t(0..m-1)"};
    case SourceForm::partial_credit_intercept: return {m, m + 1, "a and the intercepts d(1..m-1) or d(0..m-1)"};
    case SourceForm::nominal: return {2 * m - 2, 2 * m, "the slopes and intercepts of m or of the last m-1 categories"};
    case SourceForm::nominal_scored: return {2 * m + 1, 2 * m + 1, "a, m scoring values s(1..m) and m intercepts"};
  }
  return {0, 0, ""};
}

bool is_normal(SourceForm form) {
  return form == SourceForm::graded_normal_intercept || form == SourceForm::graded_normal_difficulty;
}

bool divides_by_slope(SourceForm form) {
  return form == SourceForm::logistic_intercept || form == SourceForm::graded_intercept ||
         form == SourceForm::graded_normal_intercept || form == SourceForm::partial_credit_intercept;
}

}  // namespace

std::string conversion_problem(const SourceItem& source) {
  const std::size_t m = source.category_scores.size();
  const std::size_t n = source.values.size();
  const SourceForm form = source.form;
  if (m < 2) return std::to_string(m) + " category scores; a calibrated item has at least 2 categories";
  const bool dichotomous = form == SourceForm::logistic_intercept || form == SourceForm::logistic_difficulty;
  if (dichotomous && m != 2) return std::to_string(m) + " category scores; a right/wrong item has 2";
  const Counts counts = value_counts(form, m);
  if (n != counts.fewest && n != counts.most) {  // a nominal item's 2m-1 values fit neither
    std::string expected = std::to_string(counts.fewest);
    if (counts.most != counts.fewest) expected += " or " + std::to_string(counts.most);
    return std::to_string(n) + " values; " + std::string(source_form_name(form)) + " takes " + counts.values + ", " +
           expected + " values for " + std::to_string(m) + " categories";
  }
  for (std::size_t k = 0; k < n; ++k) {
    if (!std::isfinite(source.values[k])) {
      return "value " + std::to_string(k + 1) + " is " + shown_number(source.values[k]) + ", not a finite number";
    }
  }
  if (!is_normal(form) && !(source.D > 0.0 && std::isfinite(source.D))) {
    return "D is " + shown_number(source.D) + "; D must be a finite number above 0";
  }
  if (divides_by_slope(form) && source.values[0] == 0.0) {
    return "the slope a is 0, so the intercepts give no difficulties";
  }
  return {};
}

}  // namespace irteq
