// Moment methods of linking (Loyd and Hoover's mean/mean, Marco's
// mean/sigma), pooled over the common items' slopes and locations in pair
// order. Sums run in that order from 0.
#include "linking/moment_constants.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "common/shown_number.hpp"

namespace irteq {

namespace {

void add_slope_and_locations(const Item& item, std::vector<double>& slopes, std::vector<double>& locations) {
  const std::vector<double>& q = item.parameters;
  switch (item.model) {
    case ItemModel::l3:  // D, a, b, c
      slopes.push_back(q[1]);
      locations.push_back(q[2]);
      break;
    case ItemModel::sn:  // a, b(1..m-1)
      slopes.push_back(q[0]);
      for (std::size_t k = 1; k < q.size(); ++k) locations.push_back(q[k]);
      break;
    case ItemModel::sl:  // D, a, b(1..m-1)
      slopes.push_back(q[1]);
      for (std::size_t k = 2; k < q.size(); ++k) locations.push_back(q[k]);
      break;
    case ItemModel::mu:  // D, a, b, d(1..m): the step from k - 1 to k lies at b - d(k)
      slopes.push_back(q[1]);
      for (std::size_t k = 4; k < q.size(); ++k) locations.push_back(q[2] - q[k]);
      break;
    case ItemModel::bn:
      break;
  }
}

double mean(const std::vector<double>& values) {
  double sum = 0.0;
  for (const double v : values) sum += v;
  return sum / static_cast<double>(values.size());
}

double standard_deviation(const std::vector<double>& values) {
  const double centre = mean(values);
  double sum = 0.0;
  for (const double v : values) sum += (v - centre) * (v - centre);
  return std::sqrt(sum / static_cast<double>(values.size()));
}

MethodConstants unavailable(LinkingMethod method, std::string problem) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  return {method, false, nan, nan, nan, 0, std::move(problem)};
}

}  // namespace

MethodConstants moment_constants(LinkingMethod method, std::span<const Item> items_x, std::span<const Item> items_y,
                                 std::span<const CommonItemPositions> common) {
  std::vector<double> slopes_x;
  std::vector<double> slopes_y;
  std::vector<double> locations_x;
  std::vector<double> locations_y;
  for (const CommonItemPositions& pair : common) {
    add_slope_and_locations(items_x[pair.x], slopes_x, locations_x);
    add_slope_and_locations(items_y[pair.y], slopes_y, locations_y);
  }
  if (locations_x.empty()) {
    return unavailable(method, "no common item has a slope and locations (\"BN\" items take no part)");
  }
  double A = 0.0;
  if (method == LinkingMethod::mean_mean) {
    A = mean(slopes_x) / mean(slopes_y);
  } else {
    const double spread_x = standard_deviation(locations_x);
    if (!(spread_x > 0.0)) return unavailable(method, "the common items' form X locations do not vary");
    A = standard_deviation(locations_y) / spread_x;
  }
  if (!(A > 0.0) || !std::isfinite(A)) return unavailable(method, "A = " + shown_number(A) + "; A must be positive");
  const double B = mean(locations_y) - A * mean(locations_x);
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  return {method, true, A, B, nan, 0, {}};
}

}  // namespace irteq
