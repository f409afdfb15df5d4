// Moment methods of linking (Loyd and Hoover's mean/mean, Marco's
// mean/sigma), pooled over the common items' slopes and locations in pair
// order. Sums run in that order from 0.
#include "linking/moment_constants.hpp"

#include <cmath>
#include <string>

#include "common/shown_number.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

double mean(std::span<const MomentTerm> values) {
  double sum = 0.0;
  for (const MomentTerm& v : values) sum += v.value;
  return sum / static_cast<double>(values.size());
}

double standard_deviation(std::span<const MomentTerm> values) {
  const double centre = mean(values);
  double sum = 0.0;
  for (const MomentTerm& v : values) sum += (v.value - centre) * (v.value - centre);
  return std::sqrt(sum / static_cast<double>(values.size()));
}

namespace {

MethodConstants unavailable(LinkingMethod method, std::string problem) {
  MethodConstants constants;
  constants.method = method;
  constants.problem = std::move(problem);
  return constants;
}

}  // namespace

MethodConstants moment_constants(LinkingMethod method, std::span<const Item> items_x, std::span<const Item> items_y,
                                 std::span<const CommonItemPositions> common) {
  std::vector<MomentTerm> slopes_x;
  std::vector<MomentTerm> slopes_y;
  std::vector<MomentTerm> locations_x;
  std::vector<MomentTerm> locations_y;
  for (const CommonItemPositions& pair : common) {
    add_moment_terms(items_x[pair.x], slopes_x, locations_x);
    add_moment_terms(items_y[pair.y], slopes_y, locations_y);
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
  MethodConstants constants;
  constants.method = method;
  constants.A = A;
  constants.B = B;
  return constants;
}

}  // namespace irteq
