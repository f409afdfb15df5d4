#include "models/normal_cdf.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace irteq::testing {
namespace {

TEST(NormalCdf, CentreAndOneStandardDeviation) {
  EXPECT_EQ(normal_cdf(0.0), 0.5);
  EXPECT_NEAR(normal_cdf(1.0), 0.84134468, 5e-9);
}

TEST(NormalCdf, StaysWithinTheApproximationErrorOfTheExactFunction) {
  for (double x = -8.0; x <= 8.0; x += 0.25) {
    EXPECT_NEAR(normal_cdf(x), 0.5 * std::erfc(-x / std::sqrt(2.0)), 1.5e-7) << "x = " << x;
  }
}

// The lower half is computed from the upper one, so the symmetry holds to the bit.
TEST(NormalCdf, LowerHalfIsOneMinusUpperHalfExactly) {
  for (const double x : {1e-9, 0.1, 0.5, 1.0, 1.96, 3.3, 6.0, 8.5, 9.5, 50.0}) {
    EXPECT_EQ(normal_cdf(-x), 1.0 - normal_cdf(x)) << "x = " << x;
  }
}

TEST(NormalCdf, TailsAreExactlyZeroAndOneFromNineOutward) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const double x : {9.0, 10.0, 123.0, 1e300, inf}) {
    EXPECT_EQ(normal_cdf(x), 1.0) << "x = " << x;
    EXPECT_EQ(normal_cdf(-x), 0.0) << "x = " << -x;
  }
  // Inside that range the tails are not cut off.
  EXPECT_LT(normal_cdf(8.0), 1.0);
  EXPECT_GT(normal_cdf(-8.0), 0.0);
}

}  // namespace
}  // namespace irteq::testing
