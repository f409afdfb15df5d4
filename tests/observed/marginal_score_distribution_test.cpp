#include "observed/marginal_score_distribution.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "common/score_range.hpp"
#include "observed/conditional_score_distributions.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

// Dichotomous and polytomous items, with a negative lowest score so that the
// raw score values are not simply the point indices.
std::vector<Item> small_form() {
  std::vector<Item> items;
  for (int i = 0; i < 5; ++i) add_item(items, l3_item(1.7, 0.8 + 0.1 * i, -1.0 + 0.5 * i, 0.2));
  add_item(items, make_item(ItemModel::sl, {-1, 0, 1, 2}, {1.7, 1.0, -0.8, 0.1, 0.9}));
  add_item(items, make_item(ItemModel::bn, {0, 1, 3}, {1.7, -0.7, 0.1, 0.6, 0.2, 0.3, -0.5}));
  return items;  // raw scores -1 .. 10
}

double sum_of(const ScoreDistribution& d) {
  double sum = 0.0;
  for (const double f : d.probabilities) sum += f;
  return sum;
}

TEST(MarginalScoreDistribution, SinglePointGridGivesTheConditionalDistributionWhateverItsWeight) {
  const auto items = small_form();
  const std::vector<double> raw_scores = score_points(score_range(items));
  std::vector<double> conditional(raw_scores.size());
  const double theta[] = {0.6};
  conditional_score_distributions(theta, items, conditional);
  for (const double weight : {1.0, 0.37, 250.0}) {
    const ScoreDistribution marginal = marginal_score_distribution(items, QuadratureGrid{{0.6}, {weight}});
    ASSERT_EQ(marginal.point_count(), conditional.size());
    for (std::size_t i = 0; i < marginal.point_count(); ++i) {
      EXPECT_EQ(marginal.raw_scores[i], raw_scores[i]);
      EXPECT_NEAR(marginal.probabilities[i], conditional[i], 1e-15) << "weight " << weight << " point " << i;
    }
  }
}

TEST(MarginalScoreDistribution, ScalingAllWeightsChangesNothingAndTheResultSumsToOne) {
  const auto items = small_form();
  const std::vector<double> points{-2.0, -1.0, 0.0, 1.0, 2.0};
  const std::vector<double> weights{0.05, 0.25, 0.4, 0.25, 0.05};
  std::vector<double> scaled;
  for (const double w : weights) scaled.push_back(7.0 * w);  // total 7, as an unnormalised grid
  const ScoreDistribution reference = marginal_score_distribution(items, QuadratureGrid{points, weights});
  const ScoreDistribution result = marginal_score_distribution(items, QuadratureGrid{points, scaled});
  ASSERT_EQ(result.point_count(), 12u);
  EXPECT_EQ(result.raw_scores[0], -1.0);
  EXPECT_EQ(result.raw_scores[11], 10.0);
  for (std::size_t i = 0; i < result.point_count(); ++i) {
    EXPECT_NEAR(result.probabilities[i], reference.probabilities[i], 1e-15) << "point " << i;
  }
  EXPECT_NEAR(sum_of(reference), 1.0, 1e-15);
  EXPECT_NEAR(sum_of(result), 1.0, 1e-15);
}

}  // namespace
}  // namespace irteq::testing
