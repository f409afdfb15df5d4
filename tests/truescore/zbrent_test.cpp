#include "truescore/zbrent.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "models/test_characteristic_function.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

const double two_item_root = -std::log(5.0 / 3.0) / 1.7;
constexpr RootTolerance reports_rule = root_tolerance_rule(default_root_tolerance);

std::vector<Item> two_guessing_items() {
  std::vector<Item> items;
  add_item(items, l3_item(1.7, 1.0, 0.0, 0.2), 2);
  return items;
}

TEST(Zbrent, FindsTheAbilityOfATargetScore) {
  const auto items = two_guessing_items();
  ZbrentOutcome outcome;
  const double theta = zbrent(-8.0, 8.0, reports_rule, items, 1.0, outcome);
  EXPECT_NEAR(theta, -0.300486, 5e-7);
  EXPECT_NEAR(theta, two_item_root, 1.1e-6);
  EXPECT_FALSE(outcome.not_bracketed);
  EXPECT_FALSE(outcome.iteration_limit);
}

// A zero at either end is found on the first iteration, from the two end
// evaluations alone.
TEST(Zbrent, ZeroAtAnEndIsReturnedAfterTwoEvaluations) {
  ZbrentOutcome outcome;
  int calls = 0;
  EXPECT_EQ(zbrent(-1.0, 2.0, reports_rule, [&](double x) { ++calls; return x - 2.0; }, outcome), 2.0);
  EXPECT_EQ(calls, 2);
  calls = 0;
  EXPECT_EQ(zbrent(-1.0, 2.0, reports_rule, [&](double x) { ++calls; return x + 1.0; }, outcome), -1.0);
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(outcome.not_bracketed);
  EXPECT_FALSE(outcome.iteration_limit);
}

// A target below the form's chance score has no root: the outcome says so,
// and the search runs on and returns something that is not a root.
TEST(Zbrent, UnbracketedTargetIsRecordedAndTheSearchGoesOn) {
  const auto items = two_guessing_items();
  ZbrentOutcome outcome;
  const double theta = zbrent(-8.0, 8.0, reports_rule, items, 0.1, outcome);
  EXPECT_TRUE(outcome.not_bracketed);
  EXPECT_FALSE(outcome.iteration_limit);
  EXPECT_GT(test_characteristic_function(items, theta) - 0.1, 0.29);
}

// A sign change at 0 with nothing to interpolate (|f| is always 1) and no
// absolute tolerance: every step bisects towards 0 while the relative
// tolerance shrinks with the estimate, so the bracket never gets small
// enough and the search runs out of iterations.
TEST(Zbrent, IterationLimitIsRecordedAfterOneHundredAndTwoEvaluations) {
  ZbrentOutcome outcome;
  int calls = 0;
  double last = 0.0;
  const auto step = [&](double x) {
    ++calls;
    last = x;
    return x > 0.0 ? 1.0 : -1.0;
  };
  const double theta = zbrent(-8.0, 8.0, {.absolute = 0.0, .relative = reports_rule.relative}, step, outcome);
  EXPECT_EQ(calls, 2 + zbrent_max_iterations);
  EXPECT_EQ(calls, 102);
  EXPECT_EQ(theta, last);
  EXPECT_TRUE(outcome.iteration_limit);
  EXPECT_FALSE(outcome.not_bracketed);
}

}  // namespace
}  // namespace irteq::testing
