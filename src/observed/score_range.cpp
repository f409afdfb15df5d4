#include "observed/score_range.hpp"

namespace irteq {

ScoreRange score_range(const ItemSet& items) {
  ScoreRange range;
  for (int i = 0; i < items.item_count; ++i) {
    const Item& item = items.items[static_cast<std::size_t>(i)];
    range.lowest += item.category_scores[0];
    range.highest += item.category_scores[static_cast<std::size_t>(item.category_count - 1)];
  }
  return range;
}

}  // namespace irteq
