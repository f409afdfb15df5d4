#include "observed/add_item_to_distribution.hpp"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace irteq::testing {
namespace {

// Adds one item to `previous` in a buffer pre-filled with NaN, so that a
// point the step forgets to reset, or a write past the new range, shows up.
std::vector<double> add_item(const std::vector<double>& previous, const std::vector<int>& scores,
                             const std::vector<double>& probabilities, std::size_t expected_count,
                             KernelPath path = kernel_path()) {
  std::vector<double> next(expected_count + 3, std::numeric_limits<double>::quiet_NaN());
  add_item_to_distribution(previous, scores, probabilities, next, path);
  for (std::size_t i = expected_count; i < next.size(); ++i) EXPECT_TRUE(std::isnan(next[i])) << "wrote past the range at " << i;
  next.resize(expected_count);
  return next;
}

TEST(AddItemToDistribution, ThreeCategoryItemThenDichotomousItem) {
  // From the sure score 0 the first item just lands on its own scores.
  const auto first = add_item({1.0}, {0, 1, 2}, {0.2, 0.5, 0.3}, 3);
  EXPECT_EQ(first, (std::vector<double>{0.2, 0.5, 0.3}));
  const auto both = add_item(first, {0, 1}, {0.4, 0.6}, 4);
  const std::array<double, 4> expected{0.08, 0.32, 0.42, 0.18};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(both[i], expected[i], 1e-15) << "raw score " << i;
}

TEST(AddItemToDistribution, NegativeScoreAndGapShiftAndSpreadTheRange) {
  // Previous range [L, L+1]; scores -1 and 2 give [L-1, L+3], five points, and
  // the point two above the new lowest is reachable by no combination.
  const auto next = add_item({0.5, 0.5}, {-1, 2}, {0.25, 0.75}, 5);
  EXPECT_EQ(next, (std::vector<double>{0.125, 0.125, 0.0, 0.375, 0.375}));
}

TEST(AddItemToDistribution, CategoriesSharingAScoreAddTheirProbabilities) {
  const auto shared = add_item({0.5, 0.5}, {0, 1, 1, 2}, {0.1, 0.2, 0.3, 0.4}, 4);
  const auto merged = add_item({0.5, 0.5}, {0, 1, 2}, {0.1, 0.5, 0.4}, 4);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(shared[i], merged[i], 1e-16) << "point " << i;
  EXPECT_NEAR(shared[1], 0.3, 1e-16);
}

TEST(AddItemToDistribution, ScoresZeroAndTwoLeaveOddPointsExactlyZero) {
  std::vector<double> distribution{1.0};
  for (int item = 1; item <= 4; ++item) {
    distribution = add_item(distribution, {0, 2}, {0.3, 0.7}, distribution.size() + 2);
  }
  ASSERT_EQ(distribution.size(), 9u);
  double sum = 0.0;
  for (std::size_t i = 0; i < distribution.size(); ++i) {
    if (i % 2 == 1) {
      EXPECT_EQ(distribution[i], 0.0) << "odd raw score " << i;
    }
    sum += distribution[i];
  }
  EXPECT_NEAR(distribution[8], 0.7 * 0.7 * 0.7 * 0.7, 1e-16);
  EXPECT_NEAR(sum, 1.0, 1e-15);
}

// The new probability of a point, as defined: from 0, category by category,
// only the categories that reach inside the previous range.
std::vector<double> defined_step(const std::vector<double>& previous, const std::vector<int>& scores,
                                 const std::vector<double>& probabilities) {
  const int lowest = 0;
  const int highest = static_cast<int>(previous.size()) - 1;
  std::vector<double> next;
  for (int x = lowest + scores.front(); x <= highest + scores.back(); ++x) {
    double sum = 0.0;
    for (std::size_t k = 0; k < scores.size(); ++k) {
      const int from = x - scores[k];
      if (from >= lowest && from <= highest) sum += previous[static_cast<std::size_t>(from)] * probabilities[k];
    }
    next.push_back(sum);
  }
  return next;
}

// The step sums many points at once, in blocks as wide as each instruction
// set's registers allow; every point must still get exactly the defined sum on
// every path this processor runs, whatever the sizes, near both ends and across
// block edges.
TEST(AddItemToDistribution, EqualsTheDefinitionBitForBitOnEveryKernelPath) {
  std::uint64_t state = 12345;
  const auto uniform = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  const std::vector<std::vector<int>> score_sets{{0, 1}, {0, 1, 2, 3, 4}, {-1, 0, 0, 3}, {2, 7}, {0, 5, 2, 40}, {3}};
  for (std::size_t previous_count : {1u, 2u, 5u, 15u, 16u, 17u, 31u, 33u, 47u, 64u, 100u, 127u, 301u}) {
    std::vector<double> previous(previous_count);
    for (double& f : previous) f = uniform();
    for (const auto& scores : score_sets) {
      std::vector<double> probabilities(scores.size());
      for (double& p : probabilities) p = uniform();
      const std::vector<double> expected = defined_step(previous, scores, probabilities);
      for (const KernelPath path : {KernelPath::baseline, KernelPath::avx2, KernelPath::avx512}) {
        if (!kernel_path_supported(path)) continue;
        const std::vector<double> actual = add_item(previous, scores, probabilities, expected.size(), path);
        for (std::size_t i = 0; i < expected.size(); ++i) {
          ASSERT_EQ(std::bit_cast<std::uint64_t>(actual[i]), std::bit_cast<std::uint64_t>(expected[i]))
              << kernel_path_name(path) << ", " << previous_count << " previous points, point " << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace irteq::testing
