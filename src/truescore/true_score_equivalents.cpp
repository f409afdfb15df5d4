#include "truescore/true_score_equivalents.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "models/item_model_facts.hpp"
#include "models/test_characteristic_function.hpp"
#include "truescore/zbrent.hpp"

namespace irteq {

namespace {

// Form X's test characteristic function, remembering its values at the points
// of the current and the last search: each search starts where the last one
// ended, and every search evaluates the upper end. The same theta, to the
// bit, gives the same value, so a remembered one changes nothing.
class RememberedCurve {
 public:
  explicit RememberedCurve(std::span<const Item> items) : items_(items) {
    current_.reserve(zbrent_max_iterations + 2);
    last_.reserve(zbrent_max_iterations + 2);
  }

  double operator()(double theta) {
    const auto bits = std::bit_cast<std::uint64_t>(theta);
    for (const Point& point : current_) {
      if (point.theta == bits) return point.value;
    }
    double value = 0.0;
    const auto last = std::find_if(last_.begin(), last_.end(), [&](const Point& point) { return point.theta == bits; });
    if (last != last_.end()) {
      value = last->value;
    } else {
      value = test_characteristic_function(items_, theta);
    }
    current_.push_back({bits, value});
    return value;
  }

  // The points of the search just ended become the last search's.
  void next_search() {
    std::swap(current_, last_);
    current_.clear();
  }

 private:
  struct Point {
    std::uint64_t theta;
    double value;
  };
  std::span<const Item> items_;
  std::vector<Point> current_;
  std::vector<Point> last_;
};

}  // namespace

double chance_score(std::span<const Item> items) {
  double sum = 0.0;
  for (const Item& item : items) {
    // The expected score above the item's lowest: the floor of its curve is u(1), not 0.
    const int chance = model_facts(item.model).chance_parameter;
    if (chance >= 0) {
      sum += static_cast<double>(item.category_scores[1] - item.category_scores[0]) *
             item.parameters[static_cast<std::size_t>(chance)];
    }
  }
  return sum;
}

void true_score_thetas(std::span<const Item> items_x, std::span<const double> scores_x,
                       std::span<const double> scores_y, double chance_y, double root_tolerance,
                       TrueScoreEquating& result, std::vector<RootFinderWarning>& warnings,
                       const std::function<void(std::size_t)>& settled) {
  constexpr double lowest_theta = -99.0;
  constexpr double top_theta = 99.0;
  constexpr double search_lower = -8.0;
  constexpr double search_upper = 8.0;
  const RootTolerance tolerance = root_tolerance_rule(root_tolerance);
  const double chance_x = chance_score(items_x);
  // The allowance lets a chance score a hair below an integer count as that integer.
  const double nlow_real = chance_x + 0.0001;
  const long long nx = static_cast<long long>(scores_x.size());
  const double x1 = scores_x.front();
  const double y1 = scores_y.front();
  result.chance_score = x1 + chance_x;
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
  const long long first_searched = std::max(nlow + 2, 2LL);
  if (settled) settled(static_cast<std::size_t>(std::min(first_searched - 1, nx)));
  RememberedCurve curve(items_x);
  double lower = search_lower;
  for (long long i = first_searched; i <= nx - 1; ++i) {
    const auto at = static_cast<std::size_t>(i - 1);
    ZbrentOutcome outcome;
    const double target = scores_x[at];
    thetas[at] = zbrent(
        lower, search_upper, tolerance, [&](double theta) { return curve(theta) - target; }, outcome);
    result.theta_kinds[at] = ThetaKind::searched;
    if (outcome.not_bracketed) {
      warnings.push_back({at, scores_x[at], RootFinderProblem::not_bracketed, thetas[at]});
    }
    if (outcome.iteration_limit) {
      warnings.push_back({at, scores_x[at], RootFinderProblem::iteration_limit, thetas[at]});
    }
    lower = thetas[at];
    curve.next_search();
    if (settled) settled(at + 1);
  }
  if (settled) settled(scores_x.size());
}

void searched_equivalents(std::span<const Item> items_y, TrueScoreEquating& result, std::size_t begin,
                          std::size_t end) {
  for (std::size_t at = begin; at < end; ++at) {
    if (result.theta_kinds[at] == ThetaKind::searched) {
      result.equivalents[at] = test_characteristic_function(items_y, result.thetas[at]);
    }
  }
}

void true_score_equivalents(std::span<const Item> items_y, std::span<const Item> items_x,
                            std::span<const double> scores_x, std::span<const double> scores_y,
                            double root_tolerance, TrueScoreEquating& result,
                            std::vector<RootFinderWarning>& warnings) {
  true_score_thetas(items_x, scores_x, scores_y, chance_score(items_y), root_tolerance, result, warnings);
  searched_equivalents(items_y, result, 0, scores_x.size());
}

}  // namespace irteq
