#pragma once

#include <string>
#include <string_view>

namespace irteq {

// The columns [first, first + width) of a line, padded with blanks where the line is shorter.
std::string fixed_width_field(std::string_view line, std::size_t first, std::size_t width);

}  // namespace irteq
