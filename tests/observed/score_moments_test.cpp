#include "observed/score_moments.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace irteq::testing {
namespace {

struct MomentsCase {
  const char* name;
  std::vector<double> values;
  std::vector<double> weights;
  Moments expected;
};

// Values 0..3 under 0.08, 0.32, 0.42, 0.18 (two items of the recursion above):
// mean 1.7; deviations -1.7, -0.7, 0.3, 1.3 give central sums
//   S2 = 0.2312 + 0.1568 + 0.0378 + 0.3042     = 0.73
//   S3 = -0.39304 - 0.10976 + 0.01134 + 0.39546 = -0.096
//   S4 = 0.668168 + 0.076832 + 0.003402 + 0.514098 = 1.2625
// so sd = sqrt(0.73) = 0.854400..., skewness = -0.096 / 0.73^1.5 = -0.153915...,
// kurtosis = 1.2625 / 0.73^2 = 2.369112...
const Moments four_points{1.7, std::sqrt(0.73), -0.096 / (0.73 * std::sqrt(0.73)), 1.2625 / (0.73 * 0.73)};

class ScoreMomentsCases : public ::testing::TestWithParam<MomentsCase> {};

TEST_P(ScoreMomentsCases, MatchHandComputedValues) {
  const MomentsCase& c = GetParam();
  const Moments m = score_moments(c.values, c.weights);
  EXPECT_NEAR(m.mean, c.expected.mean, 1e-14);
  EXPECT_NEAR(m.sd, c.expected.sd, 1e-14);
  EXPECT_NEAR(m.skewness, c.expected.skewness, 1e-13);
  EXPECT_NEAR(m.kurtosis, c.expected.kurtosis, 1e-13);
}

INSTANTIATE_TEST_SUITE_P(
    Distributions, ScoreMomentsCases,
    ::testing::Values(MomentsCase{"TwoPointsEqualWeights", {0, 1}, {1, 1}, {0.5, 0.5, 0.0, 1.0}},
                      MomentsCase{"ThreePointsOneTwoOne", {0, 1, 2}, {1, 2, 1}, {1.0, std::sqrt(0.5), 0.0, 2.0}},
                      MomentsCase{"FourPointsSkewed", {0, 1, 2, 3}, {0.08, 0.32, 0.42, 0.18}, four_points},
                      MomentsCase{"FourPointsUnnormalised", {0, 1, 2, 3}, {8, 32, 42, 18}, four_points}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScoreMoments, HandValuesToFourDecimals) {
  // Guards the constants above against a slip in their derivation.
  EXPECT_NEAR(four_points.sd, 0.8544, 1e-4);
  EXPECT_NEAR(four_points.skewness, -0.1539, 1e-4);
  EXPECT_NEAR(four_points.kurtosis, 2.3691, 1e-4);
}

TEST(ScoreMoments, WeightsScaledByAConstantGiveTheSameMoments) {
  const std::vector<double> values{-2.0, 0.5, 1.0, 4.0, 7.5};
  const std::vector<double> weights{0.1, 0.3, 0.25, 0.2, 0.15};
  const Moments reference = score_moments(values, weights);
  for (const double factor : {1e-3, 3.0, 250.0}) {
    std::vector<double> scaled;
    for (const double w : weights) scaled.push_back(factor * w);
    const Moments m = score_moments(values, scaled);
    EXPECT_NEAR(m.mean, reference.mean, 1e-14) << factor;
    EXPECT_NEAR(m.sd, reference.sd, 1e-14) << factor;
    EXPECT_NEAR(m.skewness, reference.skewness, 1e-13) << factor;
    EXPECT_NEAR(m.kurtosis, reference.kurtosis, 1e-13) << factor;
  }
}

TEST(ScoreMoments, AllWeightOnOneValueLeavesSkewnessAndKurtosisNotANumber) {
  const Moments m = score_moments(std::vector<double>{3.0, 4.0, 5.0}, std::vector<double>{0.0, 2.0, 0.0});
  EXPECT_EQ(m.mean, 4.0);
  EXPECT_EQ(m.sd, 0.0);
  EXPECT_TRUE(std::isnan(m.skewness));
  EXPECT_TRUE(std::isnan(m.kurtosis));
}

TEST(ScoreMoments, ANearlyOnePointDistributionKeepsFiniteSkewnessAndKurtosis) {
  // p = 1e-250 at 1: sd is about 1e-125, whose cube underflows; the moments
  // are about 1 / sqrt(p) and 1 / p.
  const Moments m = score_moments(std::vector<double>{0.0, 1.0}, std::vector<double>{1.0, 1e-250});
  EXPECT_NEAR(m.sd / 1e-125, 1.0, 1e-12);
  EXPECT_NEAR(m.skewness / 1e125, 1.0, 1e-12);
  EXPECT_NEAR(m.kurtosis / 1e250, 1.0, 1e-12);
}

}  // namespace
}  // namespace irteq::testing
