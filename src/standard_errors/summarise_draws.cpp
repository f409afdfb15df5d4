// Per score point, the draws' values gathered in draw order and their
// spread taken; the same for the linking constants.
#include "standard_errors/summarise_draws.hpp"

#include <vector>

#include "standard_errors/draw_spread.hpp"

namespace irteq {

namespace {

void fill(PointStandardErrors& out, const DrawSpread& spread, std::size_t point) {
  out.draws_sd[point] = spread.sd;
  out.draws_lower[point] = spread.lower;
  out.draws_upper[point] = spread.upper;
}

void fill(ConstantStandardErrors& out, const DrawSpread& spread) {
  out.draws_sd = spread.sd;
  out.draws_lower = spread.lower;
  out.draws_upper = spread.upper;
}

}  // namespace

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
    target->draws_sd.assign(points, 0.0);
    target->draws_lower.assign(points, 0.0);
    target->draws_upper.assign(points, 0.0);
    for (std::size_t point = 0; point < points; ++point) {
      for (std::size_t r = 0; r < draws; ++r) values[r] = (drawn.draws[r].*metric)[point];
      fill(*target, draw_spread(values, sorted), point);
    }
  }
  if (drawn.linked) {
    if (!out.linking) out.linking.emplace();
    for (std::size_t r = 0; r < draws; ++r) values[r] = drawn.draws[r].A;
    fill(out.linking->A, draw_spread(values, sorted));
    for (std::size_t r = 0; r < draws; ++r) values[r] = drawn.draws[r].B;
    fill(out.linking->B, draw_spread(values, sorted));
  }
  out.draws = static_cast<int>(draws);
  out.redraws = drawn.redraws;
}

}  // namespace irteq
