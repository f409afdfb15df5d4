#include "common/fixed_width.hpp"

namespace irteq {

std::string fixed_width_field(std::string_view line, std::size_t first, std::size_t width) {
  std::string field(first < line.size() ? line.substr(first, width) : std::string_view{});
  field.resize(width, ' ');
  return field;
}

}  // namespace irteq
