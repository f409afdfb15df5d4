#include "common/score_range.hpp"

namespace irteq {

ScoreRange score_range(std::span<const Item> items) {
  ScoreRange range;
  for (const Item& item : items) {
    range.lowest += item.category_scores.front();
    range.highest += item.category_scores.back();
  }
  return range;
}

std::vector<double> score_points(const ScoreRange& range) {
  std::vector<double> points;
  points.reserve(static_cast<std::size_t>(range.point_count()));
  for (long long x = range.lowest; x <= range.highest; ++x) points.push_back(static_cast<double>(x));
  return points;
}

}  // namespace irteq
