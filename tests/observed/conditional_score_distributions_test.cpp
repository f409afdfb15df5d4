#include "observed/conditional_score_distributions.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "common/score_range.hpp"
#include "models/category_probabilities.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

// A nominal item with zero slopes and intercepts log p(k) answers p(k) at
// every theta (within rounding), which lets a test choose its probabilities.
void add_fixed(std::vector<Item>& items, const std::vector<int>& scores, const std::vector<double>& p) {
  Item item = make_item(ItemModel::bn, {}, {1.0});
  item.category_scores = scores;
  item.parameters.resize(1 + 2 * p.size(), 0.0);
  for (std::size_t k = 0; k < scores.size(); ++k) item.parameters[1 + p.size() + k] = std::log(p[k]);
  add_item(items, item);
}

std::vector<double> probabilities_of(const Item& item, double theta) {
  std::vector<double> p(item.category_scores.size());
  category_probabilities(item, theta, p);
  return p;
}

// The form's conditional distribution at theta, over its score points from
// score_range. The buffer starts out as whatever the caller passes in.
ScoreDistribution conditional(double theta, const std::vector<Item>& items, double fill = 0.0) {
  ScoreDistribution result;
  result.raw_scores = score_points(score_range(items));
  result.probabilities.assign(result.point_count(), fill);
  const double thetas[] = {theta};
  conditional_score_distributions(thetas, items, result.probabilities);
  return result;
}

TEST(ConditionalScoreDistributions, OneItemPlacesItsProbabilitiesAtItsScores) {
  std::vector<Item> items;
  const Item item = make_item(ItemModel::bn, {-2, 0, 3}, {1.7, -0.8, 0.1, 0.9, 0.4, 0.0, -0.6});
  add_item(items, item);
  const ScoreDistribution result = conditional(0.3, items);
  ASSERT_EQ(result.point_count(), 6u);  // -2 .. 3
  EXPECT_EQ(result.raw_scores, (std::vector<double>{-2, -1, 0, 1, 2, 3}));
  const auto p = probabilities_of(item, 0.3);
  const std::array<double, 6> expected{p[0], 0.0, p[1], 0.0, 0.0, p[2]};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(result.probabilities[i], expected[i]) << "point " << i;
}

struct FixedItem {
  std::vector<int> scores;
  std::vector<double> probabilities;
};

struct FixedCase {
  const char* name;
  std::vector<FixedItem> items;
  double lowest;
  std::vector<double> expected;
};

class ConditionalFixedItems : public ::testing::TestWithParam<FixedCase> {};

TEST_P(ConditionalFixedItems, GiveTheHandComputedDistribution) {
  const FixedCase& c = GetParam();
  std::vector<Item> items;
  for (const FixedItem& item : c.items) add_fixed(items, item.scores, item.probabilities);
  const ScoreDistribution result = conditional(-0.7, items);
  ASSERT_EQ(result.point_count(), c.expected.size());
  for (std::size_t i = 0; i < c.expected.size(); ++i) {
    EXPECT_EQ(result.raw_scores[i], c.lowest + static_cast<double>(i));
    EXPECT_NEAR(result.probabilities[i], c.expected[i], 1e-15) << "point " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ConditionalFixedItems,
    ::testing::Values(
        FixedCase{"ThreeCategoryItemThenDichotomousItem", {{{0, 1, 2}, {0.2, 0.5, 0.3}}, {{0, 1}, {0.4, 0.6}}}, 0.0,
                  {0.08, 0.32, 0.42, 0.18}},
        // Every item scores above 0, so the lowest raw score is 1 + 2 = 3.
        FixedCase{"LowestScoreAboveZero", {{{1, 2}, {0.5, 0.5}}, {{2, 3, 5}, {0.2, 0.3, 0.5}}}, 3.0,
                  {0.1, 0.25, 0.15, 0.25, 0.25}},
        // Categories of the first item that share a score are summed, as for later items.
        FixedCase{"FirstItemCategoriesSharingAScore", {{{0, 1, 1, 2}, {0.1, 0.2, 0.3, 0.4}}}, 0.0, {0.1, 0.5, 0.4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConditionalScoreDistributions, DichotomousFormRunsFromZeroToItemCount) {
  constexpr int n = 25;
  std::vector<Item> items;
  for (int i = 0; i < n; ++i) add_item(items, l3_item(1.7, 0.6 + 0.05 * i, -1.5 + 0.12 * i, 0.15));
  const ScoreDistribution result = conditional(0.4, items);
  ASSERT_EQ(result.point_count(), static_cast<std::size_t>(n + 1));
  for (int i = 0; i <= n; ++i) EXPECT_EQ(result.raw_scores[static_cast<std::size_t>(i)], i);
  // The extreme scores have a single response pattern each: all wrong, all right.
  double all_wrong = 1.0;
  double all_right = 1.0;
  for (const Item& item : items) {
    const auto p = probabilities_of(item, 0.4);
    all_wrong *= p[0];
    all_right *= p[1];
  }
  EXPECT_NEAR(result.probabilities[0] / all_wrong, 1.0, 1e-13);
  EXPECT_NEAR(result.probabilities[n] / all_right, 1.0, 1e-13);
}

std::vector<Item> mixed_form() {
  std::vector<Item> items;
  for (int i = 0; i < 6; ++i) add_item(items, l3_item(1.7, 0.7 + 0.1 * i, -1.2 + 0.5 * i, 0.2));
  add_item(items, make_item(ItemModel::sn, {0, 1, 2, 3}, {1.1, -1.0, 0.0, 1.2}));
  add_item(items, make_item(ItemModel::sl, {0, 1, 2, 3, 4}, {1.7, 0.9, -1.5, -0.5, 0.4, 1.3}));
  add_item(items, make_item(ItemModel::bn, {0, 1, 2}, {1.7, -1.0, 0.0, 1.0, 0.0, 0.5, -0.3}));
  add_item(items, make_item(ItemModel::bn, {0, 2, 2, 5}, {1.0, -0.5, 0.0, 0.3, 0.8, 0.0, 0.2, 0.1, -0.4}));
  return items;  // raw scores 0 .. 6 + 3 + 4 + 2 + 5 = 20
}

TEST(ConditionalScoreDistributions, MixedFormatFormSumsToOne) {
  const auto items = mixed_form();
  for (const double theta : {-4.0, -1.3, 0.0, 0.7, 4.0}) {
    const ScoreDistribution result = conditional(theta, items);
    ASSERT_EQ(result.point_count(), 21u);
    EXPECT_EQ(result.raw_scores[20], 20.0);
    double sum = 0.0;
    for (const double f : result.probabilities) sum += f;
    EXPECT_NEAR(sum, 1.0, 1e-12) << "theta " << theta;
  }
}

TEST(ConditionalScoreDistributions, RepeatedCallsAgreeBitForBit) {
  const auto items = mixed_form();
  const ScoreDistribution first = conditional(0.25, items);
  // Whatever the buffers held before must not leak into the answer.
  const ScoreDistribution second = conditional(0.25, items, std::numeric_limits<double>::quiet_NaN());
  ASSERT_EQ(first.point_count(), second.point_count());
  const auto bytes = first.point_count() * sizeof(double);
  EXPECT_EQ(std::memcmp(first.probabilities.data(), second.probabilities.data(), bytes), 0);
  EXPECT_EQ(std::memcmp(first.raw_scores.data(), second.raw_scores.data(), bytes), 0);
}

// Thetas run in batches, one per vector lane, the last one short: every row
// must be the distribution of its theta alone, to the bit.
TEST(ConditionalScoreDistributions, BatchedThetasEachGiveTheirOwnDistribution) {
  const auto items = mixed_form();
  std::vector<double> thetas;
  for (int j = 0; j < 19; ++j) thetas.push_back(-4.0 + 0.45 * j);
  const std::size_t n = score_points(score_range(items)).size();
  std::vector<double> rows(thetas.size() * n);
  conditional_score_distributions(thetas, items, rows);
  for (std::size_t j = 0; j < thetas.size(); ++j) {
    const ScoreDistribution alone = conditional(thetas[j], items);
    EXPECT_EQ(std::memcmp(rows.data() + j * n, alone.probabilities.data(), n * sizeof(double)), 0) << "theta " << j;
  }
}

}  // namespace
}  // namespace irteq::testing
