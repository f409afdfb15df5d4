#include "common/enum_names.hpp"
#include "irteq/error.hpp"

namespace irteq {

namespace {

constexpr NameTable<ErrorCode, 10> codes{{
    {ErrorCode::file_error, "file_error"},
    {ErrorCode::syntax_error, "syntax_error"},
    {ErrorCode::limit_exceeded, "limit_exceeded"},
    {ErrorCode::invalid_input, "invalid_input"},
    {ErrorCode::unknown_item_type, "unknown_item_type"},
    {ErrorCode::control_file, "control_file"},
    {ErrorCode::not_finite, "not_finite"},
    {ErrorCode::input_warning, "input_warning"},
    {ErrorCode::linking_failed, "linking_failed"},
    {ErrorCode::interrupted, "interrupted"},
}};

constexpr NameTable<InputPart, 11> parts{{
    {InputPart::none, "none"},
    {InputPart::control_file, "control_file"},
    {InputPart::items_x, "items_x"},
    {InputPart::items_y, "items_y"},
    {InputPart::grid_group1, "grid_group1"},
    {InputPart::grid_group2, "grid_group2"},
    {InputPart::scale_table, "scale_table"},
    {InputPart::report, "report"},
    {InputPart::csv, "csv"},
    {InputPart::common_items, "common_items"},
    {InputPart::cut_scores, "cut_scores"},
}};

}  // namespace

std::string_view error_code_name(ErrorCode code) { return name_in(codes, code); }
std::optional<ErrorCode> error_code(std::string_view name) { return value_in(codes, name); }
std::string_view input_part_name(InputPart part) { return name_in(parts, part); }
std::optional<InputPart> input_part(std::string_view name) { return value_in(parts, name); }

}  // namespace irteq
