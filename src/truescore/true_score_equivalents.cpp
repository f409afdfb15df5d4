#include "truescore/true_score_equivalents.hpp"

#include <algorithm>

#include "truescore/test_characteristic_function.hpp"
#include "truescore/zbrent.hpp"

namespace irteq {

double chance_score(std::span<const Item> items) {
  double sum = 0.0;
  for (const Item& item : items) {
    // The expected score above the item's lowest: the floor of its curve is u(1), not 0.
    if (item.model == ItemModel::l3) {
      sum += static_cast<double>(item.category_scores[1] - item.category_scores[0]) * item.parameters[3];
    }
  }
  return sum;
}

void true_score_equivalents(std::span<const Item> items_y, std::span<const Item> items_x,
                            std::span<const double> scores_x, std::span<const double> scores_y,
                            TrueScoreEquating& result, std::vector<RootFinderWarning>& warnings) {
  constexpr double lowest_theta = -99.0;
  constexpr double top_theta = 99.0;
  constexpr double search_lower = -8.0;
  constexpr double search_upper = 8.0;
  constexpr double tolerance = 1e-6;
  const double chance_x = chance_score(items_x);
  const double chance_y = chance_score(items_y);
  // The allowance lets a chance score a hair below an integer count as that integer.
  const double nlow_real = chance_x + 0.0001;
  const long long nx = static_cast<long long>(scores_x.size());
  const double x1 = scores_x.front();
  const double y1 = scores_y.front();
  // Truncation toward zero, kept within the score points (a chance score that
  // is not a number, from absurd parameters, gives no linear region).
  long long nlow = 0;
  if (nlow_real >= static_cast<double>(nx)) {
    nlow = nx;
  } else if (nlow_real > -2.0) {
    nlow = static_cast<long long>(nlow_real);
  } else if (nlow_real <= -2.0) {
    nlow = -1;
  }

  std::vector<double>& thetas = result.thetas;
  std::vector<double>& equivalents = result.equivalents;
  thetas.assign(scores_x.size(), lowest_theta);
  result.theta_kinds.assign(scores_x.size(), ThetaKind::linear);
  equivalents.assign(scores_x.size(), 0.0);
  thetas[static_cast<std::size_t>(nx - 1)] = top_theta;
  result.theta_kinds[static_cast<std::size_t>(nx - 1)] = ThetaKind::top;
  equivalents[static_cast<std::size_t>(nx - 1)] = scores_y.back();
  thetas[0] = lowest_theta;
  result.theta_kinds[0] = ThetaKind::linear;
  equivalents[0] = y1;
  if (nlow >= 1) {
    // The line through (x(1), y(1)) with slope cY/cX; it never takes the top point.
    const long long linear_end = std::min(nlow + 1, nx - 1);
    for (long long i = 1; i <= linear_end; ++i) {
      const auto at = static_cast<std::size_t>(i - 1);
      thetas[at] = lowest_theta;
      equivalents[at] = (scores_x[at] - x1) * chance_y / chance_x + y1;
    }
  }
  double lower = search_lower;
  for (long long i = std::max(nlow + 2, 2LL); i <= nx - 1; ++i) {
    const auto at = static_cast<std::size_t>(i - 1);
    ZbrentOutcome outcome;
    thetas[at] = zbrent(lower, search_upper, tolerance, items_x, scores_x[at], outcome);
    result.theta_kinds[at] = ThetaKind::searched;
    if (outcome.not_bracketed) {
      warnings.push_back({at, scores_x[at], RootFinderProblem::not_bracketed, thetas[at]});
    }
    if (outcome.iteration_limit) {
      warnings.push_back({at, scores_x[at], RootFinderProblem::iteration_limit, thetas[at]});
    }
    lower = thetas[at];
    equivalents[at] = test_characteristic_function(items_y, thetas[at]);
  }
}

}  // namespace irteq
