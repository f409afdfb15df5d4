// Per score point, the draws' values gathered in draw order and their
// spread taken; the same for the linking constants.
#include "standard_errors/summarise_draws.hpp"

#include <vector>

#include "standard_errors/draw_spread.hpp"

namespace irteq {

void summarise_draws(const DrawnResults& drawn, StandardErrors& out) {
  if (drawn.draws.empty()) return;
  const std::size_t draws = drawn.draws.size();
  const std::size_t points = drawn.draws.front().true_raw.size();
  using Metric = std::vector<double> DrawnEquating::*;
  const std::pair<Metric, PointStandardErrors*> metrics[] = {
      {&DrawnEquating::true_raw, &out.true_raw},
      {&DrawnEquating::true_scale, &out.true_scale},
      {&DrawnEquating::observed_raw, &out.observed_raw},
      {&DrawnEquating::observed_scale, &out.observed_scale},
  };
  std::vector<double> values(draws);
  std::vector<double> sorted;
  for (const auto& [metric, target] : metrics) {
    std::vector<DrawSpread>& spreads = target->draws.emplace(points);
    for (std::size_t point = 0; point < points; ++point) {
      for (std::size_t r = 0; r < draws; ++r) values[r] = (drawn.draws[r].*metric)[point];
      spreads[point] = draw_spread(values, sorted);
    }
  }
  if (drawn.linked) {
    for (std::size_t r = 0; r < draws; ++r) values[r] = drawn.draws[r].A;
    out.A_draws = draw_spread(values, sorted);
    for (std::size_t r = 0; r < draws; ++r) values[r] = drawn.draws[r].B;
    out.B_draws = draw_spread(values, sorted);
  }
  out.draws = static_cast<int>(draws);
  out.redraws = drawn.redraws;
  out.invalid_items = drawn.invalid_items;
}

}  // namespace irteq
