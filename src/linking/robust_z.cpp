// Robust z statistics of anchor drift: the median and interquartile range
// of all pairs' differences, flagged pairs included, stand for the common
// transformation's residual spread, which a few drifting items cannot move.
#include "linking/robust_z.hpp"

#include <algorithm>
#include <cmath>

#include "common/type7_quantile.hpp"
#include "irteq/models.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

namespace {

// One difference and the pair it belongs to.
struct Difference {
  std::size_t pair = 0;
  double value = 0.0;
};

// Each difference's z in its pool, or nothing when the pool has fewer than 3.
std::vector<double> z_values(const std::vector<Difference>& pool) {
  std::vector<double> sorted;
  for (const Difference& d : pool) sorted.push_back(d.value);
  std::sort(sorted.begin(), sorted.end());
  const double median = type7_quantile(sorted, 0.5);
  const double spread = std::max(0.74 * (type7_quantile(sorted, 0.75) - type7_quantile(sorted, 0.25)), 1e-6);
  std::vector<double> z;
  for (const Difference& d : pool) z.push_back((d.value - median) / spread);
  return z;
}

}  // namespace

RobustZ robust_z(std::span<const Item> linked_x, std::span<const Item> items_y,
                 std::span<const CommonItemPositions> common) {
  RobustZ out;
  out.slope.resize(common.size());
  out.location.resize(common.size());
  std::vector<Difference> slopes;
  std::vector<Difference> locations;
  bool nominal = false;
  bool slope_not_positive = false;
  for (std::size_t i = 0; i < common.size(); ++i) {
    const Item& x = linked_x[common[i].x];
    const Item& y = items_y[common[i].y];
    const SlopeAndLocations x_terms = slope_and_locations(x);
    const SlopeAndLocations y_terms = slope_and_locations(y);
    if (model_facts(x.model).moment_terms == MomentTerms::none) nominal = true;
    for (std::size_t k = 0; k < y_terms.slopes.size(); ++k) {
      if (x_terms.slopes[k] > 0.0 && y_terms.slopes[k] > 0.0) {
        slopes.push_back({i, std::log(y_terms.slopes[k]) - std::log(x_terms.slopes[k])});
      } else {
        slope_not_positive = true;
      }
    }
    for (std::size_t k = 0; k < y_terms.locations.size(); ++k) {
      locations.push_back({i, y_terms.locations[k] - x_terms.locations[k]});
    }
  }
  if (nominal) out.notes.emplace_back("\"BN\" items have no single slope and no locations: no robust z");
  if (slope_not_positive) out.notes.emplace_back("a slope not above 0 has no logarithm: no robust z of its slope");

  const auto fill = [&](const std::vector<Difference>& pool, std::vector<std::optional<double>>& z_of_pair,
                        const std::string& kind) {
    if (pool.empty()) return;
    if (pool.size() < 3) {
      out.notes.push_back("fewer than 3 " + kind + " differences: no robust z of " + kind + "s");
      return;
    }
    const std::vector<double> z = z_values(pool);
    for (std::size_t j = 0; j < pool.size(); ++j) {
      std::optional<double>& best = z_of_pair[pool[j].pair];
      if (!best || std::fabs(z[j]) > std::fabs(*best)) best = z[j];
    }
  };
  fill(slopes, out.slope, "slope");
  fill(locations, out.location, "location");
  return out;
}

}  // namespace irteq
