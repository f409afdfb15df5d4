#include "truescore/zbrent.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "support/item_builders.hpp"
#include "support/test_console.hpp"
#include "truescore/test_characteristic_function.hpp"

namespace irteq::testing {
namespace {

const double two_item_root = -std::log(5.0 / 3.0) / 1.7;

std::unique_ptr<ItemSet> two_guessing_items() {
  auto items = std::make_unique<ItemSet>();
  add_item(*items, l3_item(1.7, 1.0, 0.0, 0.2), 2);
  return items;
}

TEST(Zbrent, FindsTheAbilityOfATargetScore) {
  const auto items = two_guessing_items();
  TestConsole console;
  const double theta = zbrent(-8.0, 8.0, 1e-6, *items, 1.0, console.console);
  EXPECT_NEAR(theta, -0.300486, 5e-7);
  EXPECT_NEAR(theta, two_item_root, 1.1e-6);
  EXPECT_EQ(console.out.str(), "");
}

// A zero at either end is found on the first iteration, from the two end
// evaluations alone.
TEST(Zbrent, ZeroAtAnEndIsReturnedAfterTwoEvaluations) {
  TestConsole console;
  int calls = 0;
  EXPECT_EQ(zbrent(-1.0, 2.0, 1e-6, [&](double x) { ++calls; return x - 2.0; }, console.console), 2.0);
  EXPECT_EQ(calls, 2);
  calls = 0;
  EXPECT_EQ(zbrent(-1.0, 2.0, 1e-6, [&](double x) { ++calls; return x + 1.0; }, console.console), -1.0);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(console.out.str(), "");
}

// A target below the form's chance score has no root: the warning and one
// pause, then the search runs on and returns something that is not a root.
TEST(Zbrent, UnbracketedTargetWarnsPausesAndGoesOn) {
  const auto items = two_guessing_items();
  TestConsole console("typed\nleft over\n");
  const double theta = zbrent(-8.0, 8.0, 1e-6, *items, 0.1, console.console);
  EXPECT_EQ(console.out.str(), "root must be bracketed for zbrent\n");
  EXPECT_EQ(console.unread(), "left over\n");
  EXPECT_GT(test_characteristic_function(*items, theta) - 0.1, 0.29);
}

// A sign change at 0 with nothing to interpolate (|f| is always 1) and no
// absolute tolerance: every step bisects towards 0 while the relative
// tolerance shrinks with the estimate, so the bracket never gets small
// enough and the search runs out of iterations.
TEST(Zbrent, IterationLimitWarnsAfterOneHundredAndTwoEvaluations) {
  TestConsole console("typed\nleft over\n");
  int calls = 0;
  double last = 0.0;
  const auto step = [&](double x) {
    ++calls;
    last = x;
    return x > 0.0 ? 1.0 : -1.0;
  };
  const double theta = zbrent(-8.0, 8.0, 0.0, step, console.console);
  EXPECT_EQ(calls, 2 + zbrent_max_iterations);
  EXPECT_EQ(calls, 102);
  EXPECT_EQ(theta, last);
  EXPECT_EQ(console.out.str(), "zbrent exceeding maximum iterations\n");
  EXPECT_EQ(console.unread(), "left over\n");
}

// The end of console input at a pause counts as return; nothing blocks.
TEST(Zbrent, EndOfConsoleInputEndsThePause) {
  const auto items = two_guessing_items();
  TestConsole console;
  zbrent(-8.0, 8.0, 1e-6, *items, 3.0, console.console);
  zbrent(-8.0, 8.0, 0.0, [](double x) { return x > 0.0 ? 1.0 : -1.0; }, console.console);
  EXPECT_EQ(console.out.str(), "root must be bracketed for zbrent\nzbrent exceeding maximum iterations\n");
}

}  // namespace
}  // namespace irteq::testing
