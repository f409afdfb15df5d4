#include "observed/marginal_score_distribution.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "observed/conditional_score_distribution.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

// Dichotomous and polytomous items, with a negative lowest score so that the
// raw score values are not simply the point indices.
std::unique_ptr<ItemSet> small_form() {
  auto items = std::make_unique<ItemSet>();
  for (int i = 0; i < 5; ++i) add_item(*items, l3_item(1.7, 0.8 + 0.1 * i, -1.0 + 0.5 * i, 0.2));
  add_item(*items, make_item(code_sl, {-1, 0, 1, 2}, {1.7, 1.0, -0.8, 0.1, 0.9}));
  add_item(*items, make_item(code_bn, {0, 1, 3}, {1.7, -0.7, 0.1, 0.6, 0.2, 0.3, -0.5}));
  return items;  // raw scores -1 .. 10
}

std::unique_ptr<QuadratureGrid> grid(const std::vector<double>& points, const std::vector<double>& weights) {
  auto g = std::make_unique<QuadratureGrid>();
  g->count = static_cast<int>(points.size());
  for (std::size_t j = 0; j < points.size(); ++j) {
    g->points[j] = points[j];
    g->weights[j] = weights[j];
  }
  return g;
}

double sum_of(const ScoreDistribution& d) {
  double sum = 0.0;
  for (int i = 0; i < d.point_count; ++i) sum += d.probabilities[static_cast<std::size_t>(i)];
  return sum;
}

TEST(MarginalScoreDistribution, SinglePointGridGivesTheConditionalDistributionWhateverItsWeight) {
  const auto items = small_form();
  auto conditional = std::make_unique<ScoreDistribution>();
  conditional_score_distribution(0.6, *items, *conditional);
  auto marginal = std::make_unique<ScoreDistribution>();
  for (const double weight : {1.0, 0.37, 250.0}) {
    marginal_score_distribution(*items, *grid({0.6}, {weight}), *marginal);
    ASSERT_EQ(marginal->point_count, conditional->point_count);
    for (int i = 0; i < marginal->point_count; ++i) {
      const auto at = static_cast<std::size_t>(i);
      EXPECT_EQ(marginal->raw_scores[at], conditional->raw_scores[at]);
      EXPECT_NEAR(marginal->probabilities[at], conditional->probabilities[at], 1e-15) << "weight " << weight << " point " << i;
    }
  }
}

TEST(MarginalScoreDistribution, ScalingAllWeightsChangesNothingAndTheResultSumsToOne) {
  const auto items = small_form();
  const std::vector<double> points{-2.0, -1.0, 0.0, 1.0, 2.0};
  const std::vector<double> weights{0.05, 0.25, 0.4, 0.25, 0.05};
  std::vector<double> scaled;
  for (const double w : weights) scaled.push_back(7.0 * w);  // total 7, as an unnormalised grid
  auto reference = std::make_unique<ScoreDistribution>();
  auto result = std::make_unique<ScoreDistribution>();
  marginal_score_distribution(*items, *grid(points, weights), *reference);
  marginal_score_distribution(*items, *grid(points, scaled), *result);
  ASSERT_EQ(result->point_count, 12);
  EXPECT_EQ(result->raw_scores[0], -1.0);
  EXPECT_EQ(result->raw_scores[11], 10.0);
  for (int i = 0; i < result->point_count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    EXPECT_NEAR(result->probabilities[at], reference->probabilities[at], 1e-15) << "point " << i;
  }
  EXPECT_NEAR(sum_of(*reference), 1.0, 1e-15);
  EXPECT_NEAR(sum_of(*result), 1.0, 1e-15);
}

}  // namespace
}  // namespace irteq::testing
