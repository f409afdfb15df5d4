#include "models/sn_probabilities.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "models/normal_cdf.hpp"

namespace irteq::testing {
namespace {

// Parameters a, b(1), ..., b(m-1); m is one more than the thresholds.
std::vector<double> sn(double theta, const std::vector<double>& parameters) {
  const int m = static_cast<int>(parameters.size());
  std::vector<double> p(parameters.size());
  sn_probabilities(m, theta, parameters, p);
  return p;
}

TEST(SnProbabilities, SingleCategoryIsCertain) { EXPECT_EQ(sn(0.7, {1.3}), (std::vector<double>{1.0})); }

TEST(SnProbabilities, TwoCategoriesSplitAtTheCumulativeProbability) {
  const auto p = sn(1.5, {1.2, 0.5});
  EXPECT_EQ(p[1], normal_cdf((1.5 - 0.5) * 1.2));
  EXPECT_EQ(p[0], 1.0 - p[1]);
  EXPECT_NEAR(sn(1.0, {1.0, 0.0})[1], 0.84134468, 5e-9);
}

TEST(SnProbabilities, OrderedThresholdsGiveAProperDistribution) {
  for (const double theta : {-3.0, -0.4, 0.0, 1.1, 4.0}) {
    const auto p = sn(theta, {1.3, -1.5, -0.2, 0.4, 1.8});
    EXPECT_NEAR(std::accumulate(p.begin(), p.end(), 0.0), 1.0, 1e-15) << "theta = " << theta;
    EXPECT_GE(*std::min_element(p.begin(), p.end()), 0.0) << "theta = " << theta;
  }
}

// Thresholds out of order are the item writer's problem: the middle category
// comes out negative and is passed on as it is.
TEST(SnProbabilities, ThresholdsOutOfOrderGiveANegativeProbability) {
  const auto p = sn(0.0, {1.0, 0.5, -0.5});
  EXPECT_NEAR(p[1], normal_cdf(-0.5) - normal_cdf(0.5), 1e-16);
  EXPECT_NEAR(p[1], -0.382925, 1e-6);
  EXPECT_NEAR(p[0] + p[1] + p[2], 1.0, 1e-15);
}

}  // namespace
}  // namespace irteq::testing
