#include <climits>

#include "common/score_range.hpp"
#include "irteq/error.hpp"
#include "irteq/models.hpp"
#include "irteq/validate.hpp"

namespace irteq {

ScaleTable raw_score_table(const std::vector<Item>& items_y, const std::string& name) {
  validate_items(items_y, name);
  const ScoreRange range = score_range(items_y);
  // The scale limits are whole numbers of a table's own type.
  if (range.lowest < INT_MIN || range.highest > INT_MAX) {
    throw Error(name + ": raw scores from " + std::to_string(range.lowest) + " to " + std::to_string(range.highest) +
                    " reach beyond the scale limits a table can hold; give a raw-to-scale table",
                {.code = ErrorCode::limit_exceeded, .source = name});
  }
  ScaleTable table;
  table.scale_min = static_cast<int>(range.lowest);
  table.scale_max = static_cast<int>(range.highest);
  table.raw = score_points(range);
  table.scale = table.raw;
  table.rounded = table.raw;
  return table;
}

}  // namespace irteq
