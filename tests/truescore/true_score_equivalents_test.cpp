#include "truescore/true_score_equivalents.hpp"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "irteq/equate.hpp"
#include "models/test_characteristic_function.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

constexpr double guard = -777.0;

struct Equated {
  std::vector<double> thetas;
  std::vector<ThetaKind> theta_kinds;
  std::vector<double> equivalents;
  std::vector<RootFinderWarning> warnings;

  // A point with a fixed marker theta (-99 or 99) and its exact equivalent.
  void expect_marked(std::size_t i, double theta, double equivalent) const {
    EXPECT_EQ(thetas[i], theta) << "point " << i + 1;
    EXPECT_EQ(theta_kinds[i], theta < 0.0 ? ThetaKind::linear : ThetaKind::top) << "point " << i + 1;
    EXPECT_DOUBLE_EQ(equivalents[i], equivalent) << "point " << i + 1;
  }
};

// Runs the equating into a result that already holds one guard entry more
// than form X has score points: afterwards each vector must hold exactly one
// entry per point, every one of them written.
Equated equate(std::span<const Item> y, std::span<const Item> x, const std::vector<double>& scores_x,
               const std::vector<double>& scores_y, double root_tolerance = default_root_tolerance) {
  TrueScoreEquating result;
  result.thetas.assign(scores_x.size() + 1, guard);
  result.equivalents.assign(scores_x.size() + 1, guard);
  std::vector<RootFinderWarning> warnings;
  true_score_equivalents(y, x, scores_x, scores_y, root_tolerance, result, warnings);
  EXPECT_EQ(result.thetas.size(), scores_x.size()) << "thetas not one per score point";
  EXPECT_EQ(result.theta_kinds.size(), scores_x.size()) << "theta kinds not one per score point";
  EXPECT_EQ(result.equivalents.size(), scores_x.size()) << "equivalents not one per score point";
  for (std::size_t i = 0; i < result.thetas.size(); ++i) EXPECT_NE(result.thetas[i], guard) << "point " << i + 1;
  return {result.thetas, result.theta_kinds, result.equivalents, warnings};
}

std::vector<Item> form(const Item& item, int copies = 1) {
  std::vector<Item> items;
  add_item(items, item, copies);
  return items;
}

// A searched point: an ability inside the first interval at which form X's
// expected score is the raw score.
void expect_searched(std::span<const Item> x, double raw, double theta) {
  EXPECT_GT(theta, -8.0) << "raw " << raw;
  EXPECT_LT(theta, 8.0) << "raw " << raw;
  EXPECT_NEAR(test_characteristic_function(x, theta), raw, 1e-5) << "raw " << raw;
}

TEST(TrueScoreEquivalents, ChanceScoreSumsCorrectScoreTimesAsymptoteOfL3Items) {
  EXPECT_EQ(chance_score(form(l3_item(1.7, 1.0, 0.0, 0.2), 40)), 8.000000000000004);
  auto items = form(l3_item(1.7, 1.0, 0.0, 0.25, 0, 3));
  // A nominal item's fourth value is an intercept, not an asymptote.
  add_item(items, make_item(ItemModel::bn, {0, 2}, {1.7, 0.0, 1.0, 0.5, 0.0}));
  EXPECT_EQ(chance_score(items), 0.75);
}

// Form X: one "L3" item whose correct response scores u, with asymptote c,
// and three items without guessing. Raw scores up to the chance score plus
// 0.0001, truncated, follow the line; the rest below the top are searched.
TEST(TrueScoreEquivalents, LinearRegionEndsAtTheTruncatedChanceScore) {
  struct Row {
    double c;
    int u;
    int nlow;
  };
  for (const Row row : {Row{0.9998, 1, 0}, Row{0.9999, 1, 1}, Row{2.9998 / 3.0, 3, 2}, Row{2.99995 / 3.0, 3, 3},
                        Row{0.73, 10, 7}}) {
    SCOPED_TRACE("chance score " + std::to_string(row.c * row.u));
    auto x = form(l3_item(1.7, 1.0, 0.0, row.c, 0, row.u));
    add_item(x, l3_item(1.7, 1.0, 0.0, 0.0), 3);
    const auto scores = score_points(0, row.u + 3);
    const auto result = equate(x, x, scores, scores);
    const std::size_t top = scores.size() - 1;
    for (std::size_t i = 0; i < top; ++i) {
      if (static_cast<int>(i) <= row.nlow) {
        result.expect_marked(i, -99.0, scores[i]);
      } else {
        expect_searched(x, scores[i], result.thetas[i]);
        EXPECT_EQ(result.theta_kinds[i], ThetaKind::searched) << "point " << i + 1;
        EXPECT_NEAR(result.equivalents[i], scores[i], 1e-5);
      }
    }
    result.expect_marked(top, 99.0, scores[top]);
    EXPECT_TRUE(result.warnings.empty());
  }
}

// Adding a constant to every category score of an item moves its form's
// curve by that constant and leaves the chance score, the expected score
// above the lowest, as it was: every equivalent moves by form Y's shift.
TEST(TrueScoreEquivalents, ShiftedCategoryScoresShiftEveryEquivalentByFormYsShift) {
  const auto shifted = [](std::vector<Item> items, int shift) {
    for (Item& item : items) {
      for (int& score : item.category_scores) score += shift;
    }
    return items;
  };
  auto x = form(l3_item(1.7, 1.0, -0.5, 0.25), 12);
  add_item(x, make_item(ItemModel::sl, {0, 1, 2}, {1.7, 0.9, -0.5, 0.6}), 2);
  auto y = form(l3_item(1.7, 1.2, 0.3, 0.2), 10);
  add_item(y, make_item(ItemModel::sn, {0, 1, 2}, {1.2, -0.5, 0.6}), 3);
  const auto plain = equate(y, x, score_points(0, 16), score_points(0, 16));
  for (const auto& [shift_x, shift_y] : {std::pair{1, 1}, std::pair{-1, 2}, std::pair{3, -2}}) {
    SCOPED_TRACE("shifts " + std::to_string(shift_x) + ", " + std::to_string(shift_y));
    const int form_shift_x = 14 * shift_x;
    const int form_shift_y = 13 * shift_y;
    const auto moved = equate(shifted(y, shift_y), shifted(x, shift_x), score_points(form_shift_x, 16 + form_shift_x),
                              score_points(form_shift_y, 16 + form_shift_y));
    for (std::size_t i = 0; i < plain.equivalents.size(); ++i) {
      EXPECT_EQ(moved.theta_kinds[i], plain.theta_kinds[i]) << "point " << i + 1;
      EXPECT_NEAR(moved.equivalents[i], plain.equivalents[i] + form_shift_y, 1e-5) << "point " << i + 1;
    }
  }
}

TEST(TrueScoreEquivalents, FortyGuessingItems) {
  const auto x = form(l3_item(1.7, 1.0, 0.0, 0.2), 40);
  const auto y = form(l3_item(1.7, 1.2, 0.3, 0.25), 40);
  const auto result = equate(y, x, score_points(0, 40), score_points(0, 40));
  for (std::size_t raw = 0; raw <= 8; ++raw) result.expect_marked(raw, -99.0, raw * 10.0 / 8.0);
  for (std::size_t raw = 9; raw <= 39; ++raw) {
    expect_searched(x, static_cast<double>(raw), result.thetas[raw]);
    EXPECT_GT(result.thetas[raw], raw > 9 ? result.thetas[raw - 1] : -8.0);
  }
  result.expect_marked(40, 99.0, 40.0);
  EXPECT_TRUE(result.warnings.empty());
}

TEST(TrueScoreEquivalents, FiveItemFormsWithDifferentGuessing) {
  const auto x = form(l3_item(1.7, 1.0, 0.0, 0.25), 5);
  const auto y = form(l3_item(1.7, 1.0, 0.0, 0.2), 5);
  const auto result = equate(y, x, score_points(0, 5), score_points(0, 5));
  result.expect_marked(0, -99.0, 0.0);
  result.expect_marked(1, -99.0, 0.8);
  for (std::size_t raw = 2; raw <= 4; ++raw) {
    expect_searched(x, static_cast<double>(raw), result.thetas[raw]);
    EXPECT_EQ(result.equivalents[raw], test_characteristic_function(y, result.thetas[raw]));
  }
  result.expect_marked(5, 99.0, 5.0);
}

TEST(TrueScoreEquivalents, OneItemFormRunsNoSearch) {
  const auto x = form(l3_item(1.7, 1.0, 0.0, 0.5));
  const auto y = form(l3_item(1.7, 1.0, 0.0, 0.2), 2);
  const auto result = equate(y, x, score_points(0, 1), score_points(0, 2));
  EXPECT_EQ(result.thetas, (std::vector<double>{-99.0, 99.0}));
  EXPECT_EQ(result.equivalents, (std::vector<double>{0.0, 2.0}));
  EXPECT_TRUE(result.warnings.empty());
}

TEST(TrueScoreEquivalents, IdenticalTwoItemForms) {
  const auto x = form(l3_item(1.7, 1.0, 0.0, 0.2), 2);
  const auto result = equate(x, x, score_points(0, 2), score_points(0, 2));
  result.expect_marked(0, -99.0, 0.0);
  EXPECT_NEAR(result.thetas[1], -0.300486, 5e-7);
  EXPECT_NEAR(result.equivalents[1], 1.0, 5e-7);
  result.expect_marked(2, 99.0, 2.0);
}

// A form equated to itself maps every score to itself, to within the roots'
// error: 1e-5 at the default tolerance, 1e-12 at 1e-14. A 40-item "L3" form
// (with a linear region below its chance score) and a mixed one.
TEST(TrueScoreEquivalents, IdenticalFormsMapEveryScoreToItself) {
  std::vector<Item> l3;
  for (int i = 0; i < 40; ++i) add_item(l3, l3_item(1.7, 0.6 + 0.03 * i, -2.0 + 0.1 * i, 0.1 + 0.005 * i));
  auto mixed = form(l3_item(1.7, 1.0, -0.5, 0.2), 2);
  add_item(mixed, make_item(ItemModel::sn, {0, 1, 2}, {1.2, -0.5, 0.6}));
  add_item(mixed, make_item(ItemModel::sl, {0, 1, 2}, {1.7, 0.9, -0.5, 0.6}));
  add_item(mixed, make_item(ItemModel::bn, {0, 1, 2}, {1.7, 0.2, 0.8, 1.4, 0.3, 0.0, -0.3}));
  for (const auto& [x, highest] : {std::pair{l3, 40}, std::pair{mixed, 8}}) {
    const auto scores = score_points(0, highest);
    for (const auto& [root_tolerance, bound] : {std::pair{default_root_tolerance, 1e-5}, std::pair{1e-14, 1e-12}}) {
      SCOPED_TRACE(::testing::Message() << highest << " points, root tolerance " << root_tolerance);
      const auto result = equate(x, x, scores, scores, root_tolerance);
      for (std::size_t i = 0; i < scores.size(); ++i) EXPECT_NEAR(result.equivalents[i], scores[i], bound) << "raw " << i;
      EXPECT_TRUE(result.warnings.empty());
    }
  }
}

TEST(TrueScoreEquivalents, FormYWithoutGuessingKeepsItsLowestScoreInTheLinearRegion) {
  const auto x = form(l3_item(1.7, 1.0, 0.0, 0.25), 5);
  const auto y = form(make_item(ItemModel::sl, {1, 2}, {1.7, 1.0, 0.0}), 3);
  const auto result = equate(y, x, score_points(0, 5), score_points(3, 6));
  result.expect_marked(0, -99.0, 3.0);
  result.expect_marked(1, -99.0, 3.0);
  result.expect_marked(5, 99.0, 6.0);
}

// A chance score within one point of the top (here also one from an
// asymptote above 1) would stretch the line over the top point and past the
// last one; the top point keeps (99, y(nY)) and nothing past it is written.
TEST(TrueScoreEquivalents, ChanceScoreReachingTheTopKeepsTheTopPoint) {
  const auto y = form(l3_item(1.7, 1.0, 0.0, 0.2), 4);
  for (const auto& [c, u] : {std::pair{1.0, 1}, std::pair{3.0, 1}, std::pair{1.0, 10}}) {
    SCOPED_TRACE("chance score " + std::to_string(c * u));
    const auto result = equate(y, form(l3_item(1.7, 1.0, 0.0, c, 0, u)), score_points(0, u), score_points(0, 4));
    for (int raw = 0; raw < u; ++raw) result.expect_marked(static_cast<std::size_t>(raw), -99.0, raw * 0.8 / (c * u));
    result.expect_marked(static_cast<std::size_t>(u), 99.0, 4.0);
    EXPECT_TRUE(result.warnings.empty());
  }
}

// A lower asymptote below -1, which only unchecked input can hold, brings the
// chance score to -1.0001 or below; the searches still start at point 2 and
// point 1 keeps its marker. Scored -3 and -2 so that every search is bracketed.
TEST(TrueScoreEquivalents, NegativeChanceScoreStartsSearchesAtPointTwo) {
  auto x = form(l3_item(1.7, 1.0, 0.0, -1.2, -3, -2));
  add_item(x, l3_item(1.7, 1.0, 0.5, 0.0), 2);
  ASSERT_LE(chance_score(x) + 0.0001, -1.0);
  const auto scores = score_points(-3, 0);
  const auto result = equate(x, x, scores, scores);
  result.expect_marked(0, -99.0, -3.0);
  for (std::size_t i = 1; i <= 2; ++i) {
    expect_searched(x, scores[i], result.thetas[i]);
    EXPECT_NEAR(result.equivalents[i], scores[i], 1e-5);
  }
  result.expect_marked(3, 99.0, 0.0);
  EXPECT_TRUE(result.warnings.empty());
}

// Each search starts at the previous point's theta. Where form X's curve
// falls with theta (negative slopes) the next, higher score lies below that
// theta, so the search after the first is not bracketed: it is reported, and
// equating goes on with what it returns.
TEST(TrueScoreEquivalents, EachSearchStartsAtThePreviousTheta) {
  const auto x = form(l3_item(1.7, -1.0, 0.0, 0.0), 3);
  const auto result = equate(x, x, score_points(0, 3), score_points(0, 3));
  expect_searched(x, 1.0, result.thetas[1]);
  EXPECT_GE(result.thetas[2], result.thetas[1]);
  EXPECT_EQ(result.equivalents[2], test_characteristic_function(x, result.thetas[2]));
  ASSERT_EQ(result.warnings.size(), 1u);
  const RootFinderWarning& warning = result.warnings[0];
  EXPECT_EQ(warning.point, 2u);
  EXPECT_EQ(warning.raw_score, 2.0);
  EXPECT_EQ(warning.problem, RootFinderProblem::not_bracketed);
  EXPECT_EQ(warning.theta, result.thetas[2]);
}

}  // namespace
}  // namespace irteq::testing
