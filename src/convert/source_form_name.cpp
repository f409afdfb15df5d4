#include <array>
#include <utility>

#include "irteq/convert.hpp"

namespace irteq {

namespace {

constexpr std::array<std::pair<std::string_view, SourceForm>, 12> names{{
    {"logistic_intercept", SourceForm::logistic_intercept},
    {"logistic_difficulty", SourceForm::logistic_difficulty},
    {"graded_intercept", SourceForm::graded_intercept},
    {"graded_difficulty", SourceForm::graded_difficulty},
    {"graded_normal_intercept", SourceForm::graded_normal_intercept},
    {"graded_normal_difficulty", SourceForm::graded_normal_difficulty},
    {"partial_credit_steps", SourceForm::partial_credit_steps},
    {"partial_credit_muraki", SourceForm::partial_credit_muraki},
    {"partial_credit_thresholds", SourceForm::partial_credit_thresholds},
    {"partial_credit_intercept", SourceForm::partial_credit_intercept},
    {"nominal", SourceForm::nominal},
    {"nominal_scored", SourceForm::nominal_scored},
}};

}  // namespace

std::string_view source_form_name(SourceForm form) {
  for (const auto& [name, known] : names) {
    if (known == form) return name;
  }
  return "??";
}

std::optional<SourceForm> source_form(std::string_view name) {
  for (const auto& [known, form] : names) {
    if (known == name) return form;
  }
  return std::nullopt;
}

}  // namespace irteq
