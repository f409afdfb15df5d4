#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/input.hpp"

namespace irteq {

// The parameterisations calibration programs print, by the values each takes
// in order (m categories; "D*" is D times the whole exponent, D is not used by
// the normal ogive forms), and the irteq model each becomes.
enum class SourceForm {
  logistic_intercept,        // a, d[, g]      P = g + (1-g) / (1 + exp(-D*(a*theta + d)))         -> "L3"
  logistic_difficulty,       // a, b[, c]      P = c + (1-c) / (1 + exp(-D*a*(theta - b)))         -> "L3"
  graded_intercept,          // a, d(1..m-1)   P(k or higher) = 1 / (1 + exp(-D*(a*theta + d(k))))  -> "SL"
  graded_difficulty,         // a, b(1..m-1)   P(k or higher) = 1 / (1 + exp(-D*a*(theta - b(k))))  -> "SL"
  graded_normal_intercept,   // a, d(1..m-1)   P(k or higher) = Phi(a*theta + d(k))                -> "SN"
  graded_normal_difficulty,  // a, b(1..m-1)   P(k or higher) = Phi(a*(theta - b(k)))              -> "SN"
  partial_credit_steps,      // a, b(1..m-1)   P(j) ~ exp(D*a*(theta - b(1)) + ... + D*a*(theta - b(j)))  -> "MU"
  partial_credit_muraki,     // a, b, d(1..m-1) or d(0..m-1)   step j is b - d(j)                  -> "MU"
  partial_credit_thresholds, // a, b, t(1..m-1) or t(0..m-1)   step j is b + t(j)                  -> "MU"
  partial_credit_intercept,  // a, d(1..m-1) or d(0..m-1)      P(j) ~ exp(D*(j*a*theta + d(j)))    -> "MU"
  nominal,                   // a(1..m), c(1..m), or a(2..m), c(2..m)   P(k) ~ exp(D*(a(k)*theta + c(k)))  -> "BN"
  nominal_scored,            // a, s(1..m), c(1..m)   slopes a*s(k), as mirt's nominal and gpcm   -> "BN"
};
// Categories j of the partial credit forms count from 0, the lowest; a value
// for category 0 (the fixed zero of d(0) or t(0)) may be left off. In the
// "or" cases the shorter list leaves off the first category's zeros.

// "logistic_intercept", ..., "nominal_scored": the enumerator's own name.
std::string_view source_form_name(SourceForm form);
// The form of a name (exact); none for any other text.
std::optional<SourceForm> source_form(std::string_view name);

// One item as a calibration program printed it.
struct SourceItem {
  int number = 0;
  SourceForm form = SourceForm::logistic_difficulty;
  double D = 1.0;                     // the metric: 1 logistic, 1.7 the normal metric through the logistic
  std::vector<int> category_scores;   // one per category, lowest first: their count is m
  std::vector<double> values;         // in the order the form lists them
  std::string label{};                // the calibration program's name of the item; the converted item keeps it
};

// The items in irteq's parameters, checked as equate() checks a form; name
// is what messages call them. Throws Error naming the item on values that
// cannot be converted (a count that does not fit m, a slope of 0 under an
// intercept form, a D that is not above 0) or a converted item equate() would refuse.
std::vector<Item> convert_items(const std::vector<SourceItem>& sources, const std::string& name = "items");

struct ConvertedItems {
  std::vector<Item> items;
  // Over every item's parameters after D, item by item, each in its
  // parameter order: L3 a, b, c; SN a, b(1..m-1); SL a, b(1..m-1);
  // BN a(1..m), c(1..m); MU a, b, d(1..m). Rows and columns of values irteq
  // holds fixed (a c not printed, MU's b from steps and d(1), BN's first
  // category when left off) are zero.
  Covariance covariance;
};

// The same, carrying the covariance of the source values (over every item's
// values, item by item, each in its form's order) by the delta method with
// the conversion's exact Jacobian. A covariance in the logit metric (its g
// or c rows those of logit(g), the values themselves g) gives one in the
// logit metric.
ConvertedItems convert_items(const std::vector<SourceItem>& sources, const Covariance& covariance,
                             const std::string& name = "items");

}  // namespace irteq
