#include "observed/add_item_to_distributions.hpp"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace irteq::testing {
namespace {

// Adds one item to each lane's distribution (lane t gets previous[t], all of
// one size), laid out as the step takes them, into a buffer pre-filled with
// NaN, so that a point the step forgets to set, or a write past the new
// range, shows up. Returns each lane's new distribution.
std::vector<std::vector<double>> add_item_in_lanes(const std::vector<std::vector<double>>& previous,
                                                   const std::vector<int>& scores,
                                                   const std::vector<std::vector<double>>& probabilities,
                                                   KernelPath path) {
  const std::size_t lanes = kernel_lanes(path);
  const std::size_t spread = static_cast<std::size_t>(scores.back() - scores.front());
  const std::size_t next_count = previous[0].size() + spread;
  std::vector<double> in((spread + next_count) * lanes, 0.0);
  std::vector<double> p(scores.size() * lanes);
  for (std::size_t t = 0; t < lanes; ++t) {
    for (std::size_t x = 0; x < previous[t].size(); ++x) in[(spread + x) * lanes + t] = previous[t][x];
    for (std::size_t k = 0; k < scores.size(); ++k) p[k * lanes + t] = probabilities[t][k];
  }
  std::vector<double> next((next_count + 3) * lanes, std::numeric_limits<double>::quiet_NaN());
  add_item_to_distributions(in, scores, p, std::span(next).first(next_count * lanes), path);
  for (std::size_t i = next_count * lanes; i < next.size(); ++i) {
    EXPECT_TRUE(std::isnan(next[i])) << "wrote past the range at " << i;
  }
  std::vector<std::vector<double>> result(lanes, std::vector<double>(next_count));
  for (std::size_t t = 0; t < lanes; ++t) {
    for (std::size_t x = 0; x < next_count; ++x) result[t][x] = next[x * lanes + t];
  }
  return result;
}

// The same distribution and item in every lane: the new distribution, which
// every lane must give alike.
std::vector<double> add_item(const std::vector<double>& previous, const std::vector<int>& scores,
                             const std::vector<double>& probabilities, std::size_t expected_count) {
  const std::size_t lanes = kernel_lanes(kernel_path());
  const auto next = add_item_in_lanes(std::vector(lanes, previous), scores, std::vector(lanes, probabilities),
                                      kernel_path());
  EXPECT_EQ(next[0].size(), expected_count);
  for (std::size_t t = 1; t < lanes; ++t) EXPECT_EQ(next[t], next[0]) << "lane " << t;
  return next[0];
}

TEST(AddItemToDistributions, ThreeCategoryItemThenDichotomousItem) {
  // From the sure score 0 the first item just lands on its own scores.
  const auto first = add_item({1.0}, {0, 1, 2}, {0.2, 0.5, 0.3}, 3);
  EXPECT_EQ(first, (std::vector<double>{0.2, 0.5, 0.3}));
  const auto both = add_item(first, {0, 1}, {0.4, 0.6}, 4);
  const std::array<double, 4> expected{0.08, 0.32, 0.42, 0.18};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(both[i], expected[i], 1e-15) << "raw score " << i;
}

TEST(AddItemToDistributions, NegativeScoreAndGapShiftAndSpreadTheRange) {
  // Previous range [L, L+1]; scores -1 and 2 give [L-1, L+3], five points, and
  // the point two above the new lowest is reachable by no combination.
  const auto next = add_item({0.5, 0.5}, {-1, 2}, {0.25, 0.75}, 5);
  EXPECT_EQ(next, (std::vector<double>{0.125, 0.125, 0.0, 0.375, 0.375}));
}

TEST(AddItemToDistributions, CategoriesSharingAScoreAddTheirProbabilities) {
  const auto shared = add_item({0.5, 0.5}, {0, 1, 1, 2}, {0.1, 0.2, 0.3, 0.4}, 4);
  const auto merged = add_item({0.5, 0.5}, {0, 1, 2}, {0.1, 0.5, 0.4}, 4);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(shared[i], merged[i], 1e-16) << "point " << i;
  EXPECT_NEAR(shared[1], 0.3, 1e-16);
}

TEST(AddItemToDistributions, ScoresZeroAndTwoLeaveOddPointsExactlyZero) {
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

// The step carries as many distributions as each instruction set's vectors
// hold and sums blocks of points, with a form of its own for consecutive
// scores; every point of every lane must still get exactly the defined sum on
// every path this processor runs, whatever the sizes, near both ends and
// across block edges.
TEST(AddItemToDistributions, EqualsTheDefinitionBitForBitOnEveryKernelPath) {
  std::uint64_t state = 12345;
  const auto uniform = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  // Consecutive scores of two to seven categories, and scores shared,
  // skipped, negative, out of order and single.
  const std::vector<std::vector<int>> score_sets{
      {0, 1},        {0, 1, 2}, {1, 2, 3, 4},  {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5, 6},
      {-1, 0, 0, 3}, {2, 7},    {0, 5, 2, 40}, {3}};
  for (std::size_t previous_count : {1u, 2u, 3u, 4u, 5u, 7u, 16u, 33u, 301u}) {
    for (const auto& scores : score_sets) {
      for (const KernelPath path : {KernelPath::baseline, KernelPath::avx2, KernelPath::avx512}) {
        if (!kernel_path_supported(path)) continue;
        // Each lane its own distribution and probabilities, so that a lane
        // reading another's shows.
        const std::size_t lanes = kernel_lanes(path);
        std::vector<std::vector<double>> previous(lanes, std::vector<double>(previous_count));
        std::vector<std::vector<double>> probabilities(lanes, std::vector<double>(scores.size()));
        for (std::size_t t = 0; t < lanes; ++t) {
          for (double& f : previous[t]) f = uniform();
          for (double& p : probabilities[t]) p = uniform();
        }
        const auto actual = add_item_in_lanes(previous, scores, probabilities, path);
        for (std::size_t t = 0; t < lanes; ++t) {
          const std::vector<double> expected = defined_step(previous[t], scores, probabilities[t]);
          ASSERT_EQ(actual[t].size(), expected.size());
          for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(actual[t][i]), std::bit_cast<std::uint64_t>(expected[i]))
                << kernel_path_name(path) << ", lane " << t << ", " << previous_count << " previous points, point "
                << i;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace irteq::testing
