#include "common/enum_names.hpp"
#include "irteq/convert.hpp"

namespace irteq {

namespace {

constexpr NameTable<SourceForm, 12> names{{
    {SourceForm::logistic_intercept, "logistic_intercept"},
    {SourceForm::logistic_difficulty, "logistic_difficulty"},
    {SourceForm::graded_intercept, "graded_intercept"},
    {SourceForm::graded_difficulty, "graded_difficulty"},
    {SourceForm::graded_normal_intercept, "graded_normal_intercept"},
    {SourceForm::graded_normal_difficulty, "graded_normal_difficulty"},
    {SourceForm::partial_credit_steps, "partial_credit_steps"},
    {SourceForm::partial_credit_muraki, "partial_credit_muraki"},
    {SourceForm::partial_credit_thresholds, "partial_credit_thresholds"},
    {SourceForm::partial_credit_intercept, "partial_credit_intercept"},
    {SourceForm::nominal, "nominal"},
    {SourceForm::nominal_scored, "nominal_scored"},
}};

}  // namespace

std::string_view source_form_name(SourceForm form) { return name_in(names, form); }

std::optional<SourceForm> source_form(std::string_view name) { return value_in(names, name); }

}  // namespace irteq
