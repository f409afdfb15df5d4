#include "observed/equipercentile_equivalents.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "observed/adjust_zero_probabilities.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

// As the run equates: each synthetic distribution adjusted in place, form X
// first, then the percentile ranks inverted.
std::vector<double> equate(ScoreDistribution& x, ScoreDistribution& y) {
  adjust_zero_probabilities(x.probabilities);
  adjust_zero_probabilities(y.probabilities);
  return equipercentile_equivalents(x.probabilities, y.probabilities, y.raw_scores);
}

std::vector<double> binomial(int n, double p) {
  std::vector<double> f;
  for (int k = 0; k <= n; ++k) f.push_back(std::tgamma(n + 1.0) / (std::tgamma(k + 1.0) * std::tgamma(n - k + 1.0)) * std::pow(p, k) * std::pow(1 - p, n - k));
  return f;
}

TEST(EquipercentileEquivalents, ThreePointForms) {
  // Percentile ranks 0.1, 0.45, 0.85 against form Y cumulatives 0.3, 0.7, 1.0.
  auto x = distribution(0, {0.2, 0.5, 0.3});
  auto y = distribution(0, {0.3, 0.4, 0.3});
  const auto e = equate(x, y);
  EXPECT_NEAR(e[0], 0.1 / 0.3 - 0.5, 1e-15);
  EXPECT_NEAR(e[1], 0.875, 1e-15);
  EXPECT_NEAR(e[2], 2.0, 1e-15);
}

TEST(EquipercentileEquivalents, ZeroProbabilityAdjustsOnlyThatFormInPlace) {
  auto x = distribution(0, {0.0, 0.5, 0.5});
  auto y = distribution(0, {0.25, 0.5, 0.25});
  const auto y_before = y.probabilities;
  EXPECT_TRUE(adjust_zero_probabilities(x.probabilities));
  EXPECT_FALSE(adjust_zero_probabilities(y.probabilities));
  const auto e = equipercentile_equivalents(x.probabilities, y.probabilities, y.raw_scores);
  for (std::size_t i = 0; i < 3; ++i) {
    const double original = i == 0 ? 0.0 : 0.5;
    EXPECT_EQ(x.probabilities[i], (original + 1e-8) / (3 * 1e-8 + 1)) << "point " << i;
  }
  EXPECT_EQ(std::memcmp(y_before.data(), y.probabilities.data(), y_before.size() * sizeof(double)), 0);
  // To first order in 1e-8: ranks 5e-9, 0.25 + 0.75e-8, 0.75 + 0.25e-8.
  EXPECT_NEAR(e[0], -0.5 + 2e-8, 1e-14);
  EXPECT_NEAR(e[1], 0.5 + 1.5e-8, 1e-14);
  EXPECT_NEAR(e[2], 1.5 + 1e-8, 1e-14);
}

TEST(EquipercentileEquivalents, NotANumberTriggersTheAdjustment) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  auto x = distribution(0, {nan, 0.5, 0.5});
  auto y = distribution(0, {0.25, 0.5, 0.25});
  EXPECT_TRUE(adjust_zero_probabilities(x.probabilities));
  adjust_zero_probabilities(y.probabilities);
  const auto e = equipercentile_equivalents(x.probabilities, y.probabilities, y.raw_scores);
  EXPECT_EQ(x.probabilities[1], (0.5 + 1e-8) / (3 * 1e-8 + 1));
  // Every rank is then not a number and is sent to the top of form Y.
  for (const double v : e) EXPECT_EQ(v, (2.0 + 0.5) - 1e-8);
}

TEST(EquipercentileEquivalents, IdenticalFormsEquateToThemselves) {
  // No tiny probabilities here: near a point of mass 1e-8 the ratio within
  // the interval loses about eight digits to rounding of the cumulatives.
  const auto f = binomial(12, 0.4);
  auto x = distribution(3, f);
  auto y = distribution(3, f);
  const auto e = equate(x, y);
  for (std::size_t i = 0; i < e.size(); ++i) EXPECT_NEAR(e[i], 3.0 + static_cast<double>(i), 1e-9) << "point " << i;
}

TEST(EquipercentileEquivalents, RankAtTheTopThresholdGetsTheTopValueExactly) {
  // Only a form X distribution summing above 1 reaches such a rank.
  const double top = 0.999999999;
  auto y = distribution(5, {0.25, 0.5, 0.25});
  auto at = distribution(0, {2 * top});
  EXPECT_EQ(equate(at, y)[0], (7.0 + 0.5) - 1e-8);
  auto below = distribution(0, {2 * std::nextafter(top, 0.0)});
  // One step below the threshold the rank is still interpolated in the last
  // interval, and lands above the top value: the cut is visible on both sides.
  EXPECT_NEAR(equate(below, y)[0], 7.5 - 4e-9, 1e-12);
}

TEST(EquipercentileEquivalents, RankEqualToAFormYCumulativeMovesToTheNextPoint) {
  // Ranks 0.25 and 0.75 equal F_Y(1) and F_Y(2) exactly; each is placed at the
  // bottom of the next interval, y(j) + 0.5.
  auto x = distribution(0, {0.5, 0.5});
  auto y = distribution(-1, {0.25, 0.5, 0.25});
  const auto e = equate(x, y);
  EXPECT_EQ(e[0], -0.5);
  EXPECT_EQ(e[1], 0.5);
}

TEST(EquipercentileEquivalents, FormYSummingBelowOneGivesTheTopValueWhereNoCumulativeExceedsTheRank) {
  // Ranks 0.1, 0.45, 0.85 against cumulatives 0.1, 0.3, 0.5: the first moves
  // past the equal F_Y(1), the last finds no point at all.
  auto x = distribution(0, {0.2, 0.5, 0.3});
  auto y = distribution(0, {0.1, 0.2, 0.2});
  const auto e = equate(x, y);
  EXPECT_EQ(e[0], 0.5);
  EXPECT_NEAR(e[1], 2.25, 1e-15);
  EXPECT_EQ(e[2], (2.0 + 0.5) - 1e-8);
  // A rank exactly equal to the last cumulative is not inside form Y's range either.
  auto x_half = distribution(0, {1.0});
  auto y_half = distribution(0, {0.25, 0.25});
  EXPECT_EQ(equate(x_half, y_half)[0], (1.0 + 0.5) - 1e-8);
}

TEST(EquipercentileEquivalents, RealisticFormsGiveNonDecreasingEquivalentsInsideFormYRange) {
  // Both have tails below 1e-8, so both are adjusted before the inversion.
  auto x = distribution(0, binomial(30, 0.45));
  auto y = distribution(-2, binomial(36, 0.6));
  const auto e = equate(x, y);
  for (std::size_t i = 0; i < e.size(); ++i) {
    EXPECT_GT(e[i], -2.5) << "point " << i;
    EXPECT_LT(e[i], 34.5) << "point " << i;
    if (i > 0) {
      EXPECT_GE(e[i], e[i - 1]) << "point " << i;
    }
  }
}

}  // namespace
}  // namespace irteq::testing
