#include "models/l3_probabilities.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace irteq::testing {
namespace {

std::array<double, 2> l3(double theta, double d, double a, double b, double c) {
  std::array<double, 2> p{};
  l3_probabilities(theta, d, a, b, c, p);
  return p;
}

TEST(L3Probabilities, WithoutGuessingAnExamineeAtTheLocationIsEvenOdds) {
  for (const auto& [d, a, b] : {std::array{1.7, 1.2, 0.4}, std::array{1.0, 0.5, -2.0}, std::array{1.7, 3.0, 2.5}}) {
    const auto p = l3(b, d, a, b, 0.0);
    EXPECT_EQ(p[0], 0.5);
    EXPECT_EQ(p[1], 0.5);
  }
}

TEST(L3Probabilities, GuessingRaisesTheCorrectResponse) {
  const auto p = l3(0.0, 1.7, 1.0, 0.0, 0.2);
  EXPECT_DOUBLE_EQ(p[1], 0.6);
  EXPECT_EQ(p[0], 1.0 - p[1]);
}

// Logits beyond +-99 are held there: at the top the correct response is
// certain in double precision, at the bottom it is c plus about 1e-43 of the
// rest. c = 0 makes the bottom value show whether the logit was limited.
TEST(L3Probabilities, LogitIsLimitedToNinetyNine) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const double c : {0.0, 0.1, 0.2, 0.25, 0.3, 0.45, 0.9999}) {
    const double bottom = c + (1.0 - c) / (1.0 + std::exp(99.0));
    for (const double theta : {60.0, 1e6, inf}) {
      EXPECT_EQ(l3(theta, 1.7, 1.0, 0.0, c)[1], 1.0) << "c = " << c << ", theta = " << theta;
      EXPECT_EQ(l3(theta, 1.7, 1.0, 0.0, c)[0], 0.0);
      EXPECT_EQ(l3(-theta, 1.7, 1.0, 0.0, c)[1], bottom) << "c = " << c << ", theta = " << -theta;
      EXPECT_EQ(l3(theta, 1.7, -1.0, 0.0, c)[1], bottom) << "negative slope, c = " << c;
    }
    // A logit that is not a number is taken as the upper limit.
    EXPECT_EQ(l3(nan, 1.7, 1.0, 0.0, c)[1], 1.0);
    EXPECT_EQ(l3(0.0, 1.7, nan, 0.0, c)[1], 1.0);
  }
}

}  // namespace
}  // namespace irteq::testing
