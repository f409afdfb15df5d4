#include "models/sl_probabilities.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <numeric>
#include <vector>

namespace irteq::testing {
namespace {

// Parameters D, a, b(1), ..., b(m-1); m is one less than their count.
std::vector<double> sl(double theta, const std::vector<double>& parameters) {
  const int m = static_cast<int>(parameters.size()) - 1;
  std::vector<double> p(static_cast<std::size_t>(m));
  sl_probabilities(m, theta, parameters, p);
  return p;
}

TEST(SlProbabilities, SingleCategoryIsCertain) { EXPECT_EQ(sl(-2.0, {1.7, 0.9}), (std::vector<double>{1.0})); }

TEST(SlProbabilities, TwoCategoriesSplitAtTheCumulativeProbability) {
  EXPECT_EQ(sl(0.5, {1.7, 1.0, 0.5}), (std::vector<double>{0.5, 0.5}));
  const auto p = sl(1.5, {1.7, 1.0, 0.5});
  EXPECT_DOUBLE_EQ(p[1], 1.0 / (1.0 + std::exp(-1.7)));
  EXPECT_EQ(p[0], 1.0 - p[1]);
}

// Unlike the three-parameter logistic item, the logit is not limited: far
// below the threshold the upper category's probability is exactly zero.
TEST(SlProbabilities, LogitIsNotLimited) {
  EXPECT_EQ(sl(-500.0, {1.7, 1.0, 0.0}), (std::vector<double>{1.0, 0.0}));
  EXPECT_EQ(sl(500.0, {1.7, 1.0, 0.0}), (std::vector<double>{0.0, 1.0}));
}

TEST(SlProbabilities, OrderedThresholdsGiveAProperDistribution) {
  for (const double theta : {-3.0, -0.4, 0.0, 1.1, 4.0}) {
    const auto p = sl(theta, {1.7, 0.8, -1.5, -0.2, 0.4, 1.8});
    EXPECT_NEAR(std::accumulate(p.begin(), p.end(), 0.0), 1.0, 1e-15) << "theta = " << theta;
    EXPECT_GE(*std::min_element(p.begin(), p.end()), 0.0) << "theta = " << theta;
  }
}

TEST(SlProbabilities, ThresholdsOutOfOrderGiveANegativeProbability) {
  const auto p = sl(0.0, {1.0, 1.0, 1.0, -1.0});
  EXPECT_NEAR(p[1], 1.0 / (1.0 + std::exp(1.0)) - 1.0 / (1.0 + std::exp(-1.0)), 1e-16);
  EXPECT_LT(p[1], 0.0);
  EXPECT_NEAR(p[0] + p[1] + p[2], 1.0, 1e-15);
}

}  // namespace
}  // namespace irteq::testing
