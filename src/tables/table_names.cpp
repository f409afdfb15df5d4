#include "common/enum_names.hpp"
#include "irteq/tables.hpp"

namespace irteq {

namespace {

constexpr NameTable<TableForm, 2> forms{{{TableForm::x, "X"}, {TableForm::y, "Y"}}};
constexpr NameTable<TableEquating, 3> equatings{
    {{TableEquating::none, ""}, {TableEquating::true_score, "true"}, {TableEquating::observed_score, "observed"}}};
constexpr NameTable<TableMetric, 3> metrics{
    {{TableMetric::raw, "raw"}, {TableMetric::scale, "scale"}, {TableMetric::reported, "reported"}}};

}  // namespace

std::string_view table_form_name(TableForm form) { return name_in(forms, form); }
std::string_view table_equating_name(TableEquating equating) { return name_in(equatings, equating); }
std::string_view table_metric_name(TableMetric metric) { return name_in(metrics, metric); }

}  // namespace irteq
