#include "observed/synthetic_distribution.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

class SyntheticDistribution : public ::testing::Test {
 protected:
  const ScoreDistribution group1 = distribution(-1.0, {0.6, 0.3, 0.1});
  const ScoreDistribution group2 = distribution(-1.0, {0.1, 0.4, 0.5});

  std::vector<double> mix(double w2) {
    const ScoreDistribution result = synthetic_distribution(group1, group2, w2);
    EXPECT_EQ(result.point_count(), 3u);
    EXPECT_EQ(result.raw_scores[0], -1.0);
    EXPECT_EQ(result.raw_scores[2], 1.0);
    return result.probabilities;
  }
};

TEST_F(SyntheticDistribution, WeightZeroOrOneGivesOneGroupExactly) {
  EXPECT_EQ(mix(0.0), (std::vector<double>{0.6, 0.3, 0.1}));
  EXPECT_EQ(mix(1.0), (std::vector<double>{0.1, 0.4, 0.5}));
}

TEST_F(SyntheticDistribution, GroupOneWeightIsFormedOnceAsOneMinusW2) {
  for (const double w2 : {0.3, 0.1, 0.77}) {
    const double w1 = 1.0 - w2;
    const auto mixed = mix(w2);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(mixed[i], w1 * group1.probabilities[i] + w2 * group2.probabilities[i]) << "w2 " << w2 << " point " << i;
    }
  }
  const auto mixed = mix(0.3);  // 0.7 * g1 + 0.3 * g2
  EXPECT_NEAR(mixed[0], 0.45, 1e-15);
  EXPECT_NEAR(mixed[1], 0.33, 1e-15);
  EXPECT_NEAR(mixed[2], 0.22, 1e-15);
}

TEST_F(SyntheticDistribution, WeightOutsideTheUnitIntervalIsUsedUnchanged) {
  // w2 = 1.5 makes w1 = -0.5, and the first entry comes out negative; it is
  // left for the equating step to deal with.
  const auto above = mix(1.5);
  EXPECT_NEAR(above[0], -0.15, 1e-15);
  EXPECT_NEAR(above[1], 0.45, 1e-15);
  EXPECT_NEAR(above[2], 0.70, 1e-15);
  const auto below = mix(-0.5);  // w1 = 1.5
  EXPECT_NEAR(below[0], 0.85, 1e-15);
  EXPECT_NEAR(below[1], 0.25, 1e-15);
  EXPECT_NEAR(below[2], -0.10, 1e-15);
}

}  // namespace
}  // namespace irteq::testing
