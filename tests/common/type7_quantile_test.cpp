// Type 7 quantiles, the draws' interval ends, against R's.
#include "common/type7_quantile.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace irteq::testing {
namespace {

// R's quantile(1:10, c(.025, .975), type = 7) is 1.225 and 9.775; the
// others are its definition worked by hand on four values and on one.
TEST(Type7Quantile, AgreesWithR) {
  struct Case {
    std::vector<double> sorted;
    double p;
    double expected;
  };
  const std::vector<double> one_to_ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const std::vector<double> four{-1.0, 2.5, 3.0, 7.0};
  const Case cases[] = {
      {one_to_ten, 0.025, 1.225}, {one_to_ten, 0.975, 9.775}, {four, 0.0, -1.0},   {four, 0.025, -0.7375},
      {four, 0.5, 2.75},          {four, 0.975, 6.7},         {four, 1.0, 7.0},    {{4.5}, 0.975, 4.5},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(type7_quantile(c.sorted, c.p), c.expected, 1e-14) << c.sorted.size() << " values, p " << c.p;
  }
}

}  // namespace
}  // namespace irteq::testing
