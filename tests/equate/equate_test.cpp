// The library's entry point on input built in memory: every check the readers
// make also guards equate(), failed searches come back as values, runs on
// several threads agree, and the caller's floating-point mode survives.
#include "irteq/equate.hpp"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/limits.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

// Two forms of two "L3" items and a graded item, three-point grids, a table 0..4 -> 10..50.
EquatingInput small_input() {
  EquatingInput input;
  input.items_y = {l3_item(1.7, 1.0, 0.0, 0.2), l3_item(1.7, 1.2, 0.5, 0.1),
                   make_item(ItemModel::sn, {0, 1, 2}, {0.9, -1.0, 0.5}, 3)};
  input.items_x = {l3_item(1.7, 0.9, -0.2, 0.2), l3_item(1.7, 1.1, 0.3, 0.15),
                   make_item(ItemModel::mu, {0, 1, 2}, {1.7, 0.8, 0.2, 0.0, 0.5, -0.5}, 3)};
  input.grid_group1 = {{-1.0, 0.0, 1.0}, {1.0, 2.0, 1.0}};
  input.grid_group2 = {{-1.0, 0.0, 1.0}, {1.0, 2.0, 1.0}};
  input.scale_table = {10, 50, {0, 1, 2, 3, 4}, {10, 20, 30, 40, 50}, {10, 20, 30, 40, 50}};
  input.w2 = 0.5;
  return input;
}

bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool same(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!same(a[i], b[i])) return false;
  }
  return true;
}

bool same(const EquatingResult& a, const EquatingResult& b) {
  bool moments = a.moments.size() == b.moments.size();
  for (std::size_t i = 0; moments && i < a.moments.size(); ++i) {
    const Moments& m = a.moments[i].moments;
    const Moments& n = b.moments[i].moments;
    moments = same(m.mean, n.mean) && same(m.sd, n.sd) && same(m.skewness, n.skewness) && same(m.kurtosis, n.kurtosis);
  }
  return moments && same(a.true_score.thetas, b.true_score.thetas) &&
         same(a.true_score.equivalents, b.true_score.equivalents) && same(a.true_score.scale, b.true_score.scale) &&
         same(a.observed_score.equivalents, b.observed_score.equivalents) &&
         same(a.observed_score.scale, b.observed_score.scale) && same(a.x.synthetic, b.x.synthetic) &&
         same(a.y.synthetic, b.y.synthetic) && a.warnings.size() == b.warnings.size();
}

TEST(Equate, ChecksInputBuiltInMemoryAsTheReadersCheckFiles) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    std::function<void(EquatingInput&)> change;
    ErrorCode code;
    InputPart input;
    int item_or_row;
    const char* message;
  } const cases[] = {
      {"no items", [](EquatingInput& in) { in.items_x.clear(); }, ErrorCode::invalid_input, InputPart::items_x, 0,
       "form X items: the form holds no items"},
      {"201 items", [](EquatingInput& in) { in.items_y.resize(201, in.items_y[0]); }, ErrorCode::limit_exceeded,
       InputPart::items_y, 0, "form Y items: more than 200 items; a form holds at most 200"},
      // With no parameters its count passed: the models would have read unset probabilities.
      {"model cast from 7", [](EquatingInput& in) { in.items_y[1] = make_item(static_cast<ItemModel>(7), {0, 1}, {}); },
       ErrorCode::unknown_item_type, InputPart::items_y, 2,
       "form Y items: item 2 (number 1, ??, 2 categories): unknown item model 7; ItemModel holds l3, sn, sl, bn and mu"},
      {"no categories", [](EquatingInput& in) { in.items_x[2].category_scores.clear(); }, ErrorCode::limit_exceeded,
       InputPart::items_x, 3, "form X items: item 3 (number 3, MU, 0 categories): 0 categories; an item has 1 to 120"},
      {"121 categories", [](EquatingInput& in) { in.items_y[2].category_scores.resize(121, 2); },
       ErrorCode::limit_exceeded, InputPart::items_y, 3, "121 categories; an item has 1 to 120"},
      {"unsorted scores", [](EquatingInput& in) { in.items_y[2].category_scores = {1, 0, 2}; },
       ErrorCode::invalid_input, InputPart::items_y, 3,
       "item 3 (number 3, SN, 3 categories): the first category score must be the lowest and the last the highest"},
      {"labelled item", [](EquatingInput& in) { in.items_y[2].category_scores = {1, 0, 2}; in.items_y[2].label = "R05001"; },
       ErrorCode::invalid_input, InputPart::items_y, 3, "item 3 (number 3, label R05001, SN, 3 categories): the first"},
      {"L3 of 3 categories", [](EquatingInput& in) { in.items_x[0].category_scores = {0, 1, 2}; },
       ErrorCode::invalid_input, InputPart::items_x, 1, "an \"L3\" item has 2 categories, not 3"},
      {"BN of 61 categories",
       [](EquatingInput& in) { in.items_y[2] = make_item(ItemModel::bn, {}, {}); in.items_y[2].category_scores.assign(61, 0); in.items_y[2].category_scores.back() = 1; },
       ErrorCode::limit_exceeded, InputPart::items_y, 3,
       "123 parameter values; an item holds at most 121 (60 categories for \"BN\" items)"},
      {"parameter count", [](EquatingInput& in) { in.items_x[2].parameters.pop_back(); }, ErrorCode::invalid_input,
       InputPart::items_x, 3, "\"MU\" items of 3 categories take 6 parameter values, not 5"},
      {"parameter not finite", [nan](EquatingInput& in) { in.items_y[0].parameters[1] = nan; },
       ErrorCode::invalid_input, InputPart::items_y, 1, "parameter 2 is nan, not a finite number"},
      {"asymptote", [](EquatingInput& in) { in.items_x[1].parameters[3] = 1.5; }, ErrorCode::invalid_input,
       InputPart::items_x, 2, "the lower asymptote c = 1.5 must lie between 0 and 1"},
      {"thresholds", [](EquatingInput& in) { in.items_y[2].parameters = {0.9, 0.5, -1.0}; }, ErrorCode::invalid_input,
       InputPart::items_y, 3, "the thresholds b(1) = 0.5 and b(2) = -1 give category 2 a negative probability"},
      {"points and weights", [](EquatingInput& in) { in.grid_group1.weights.pop_back(); }, ErrorCode::invalid_input,
       InputPart::grid_group1, 0, "group 1 grid: 3 points but 2 weights"},
      {"no points", [](EquatingInput& in) { in.grid_group2 = {}; }, ErrorCode::invalid_input, InputPart::grid_group2,
       0, "group 2 grid: the grid holds no quadrature points"},
      {"101 points", [](EquatingInput& in) { in.grid_group1 = {std::vector<double>(101, 0.0), std::vector<double>(101, 1.0)}; },
       ErrorCode::limit_exceeded, InputPart::grid_group1, 0, "more than 100 quadrature points; a grid holds at most 100"},
      {"negative weight", [](EquatingInput& in) { in.grid_group2.weights[1] = -0.5; }, ErrorCode::invalid_input,
       InputPart::grid_group2, 2, "group 2 grid: point 2: the quadrature weight -0.5 is negative"},
      {"weights sum to 0", [](EquatingInput& in) { in.grid_group1.weights = {0, 0, 0}; }, ErrorCode::invalid_input,
       InputPart::grid_group1, 0, "the quadrature weights add up to 0; they must have a finite sum other than zero"},
      {"point not finite", [](EquatingInput& in) { in.grid_group1.points[0] = -HUGE_VAL; }, ErrorCode::invalid_input,
       InputPart::grid_group1, 1, "point 1: the ability -inf and weight 1 must be finite numbers"},
      {"w2", [](EquatingInput& in) { in.w2 = 1.5; }, ErrorCode::invalid_input, InputPart::scale_table, 0,
       "scale table: w2 is 1.5; the weight of group 2 must lie between 0 and 1"},
      {"w2 not a number", [nan](EquatingInput& in) { in.w2 = nan; }, ErrorCode::invalid_input, InputPart::scale_table,
       0, "w2 is nan"},
      {"short table", [](EquatingInput& in) { in.scale_table.scale.pop_back(); in.scale_table.rounded.pop_back(); in.scale_table.raw.pop_back(); },
       ErrorCode::invalid_input, InputPart::scale_table, 0,
       "scale table has 4 rows, but form Y has 5 score points; it needs one row for each"},
      {"ragged table", [](EquatingInput& in) { in.scale_table.rounded.pop_back(); }, ErrorCode::invalid_input,
       InputPart::scale_table, 0, "every row needs its scale and rounded scale score"},
      {"huge scale score", [](EquatingInput& in) { in.scale_table.scale[2] = 1e20; }, ErrorCode::invalid_input,
       InputPart::scale_table, 3, "scale table: row 3: the scale score 1e+20 is too large"},
      {"limits reversed", [](EquatingInput& in) { in.scale_table.scale_min = 60; }, ErrorCode::invalid_input,
       InputPart::scale_table, 0, "scale table: the scale score minimum 60 is above the maximum 50"},
      {"1001 rows", [](EquatingInput& in) { for (auto* c : {&in.scale_table.raw, &in.scale_table.scale, &in.scale_table.rounded}) c->resize(1001, 1.0); },
       ErrorCode::limit_exceeded, InputPart::scale_table, 0, "more than 1000 rows; a raw-to-scale table holds at most 1000"},
      {"1201 score points", [](EquatingInput& in) { in.items_x[2].category_scores = {0, 1, 1198}; }, ErrorCode::limit_exceeded,
       InputPart::items_x, 0, "form X items: form X has raw scores from 0 to 1200, 1201 score points; a form may have at most 1000"},
  };
  for (const Case& c : cases) {
    EquatingInput input = small_input();
    c.change(input);
    try {
      equate(input);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const Error& error) {
      const Diagnostic& d = error.diagnostic();
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
      EXPECT_EQ(d.code, c.code) << c.what;
      EXPECT_EQ(d.input, c.input) << c.what;
      EXPECT_EQ(std::max(d.item, d.row), c.item_or_row) << c.what;
    }
  }
}

// Rows pair with form Y's score points by position, as in a file: a raw
// column that disagrees, and rows beyond the score points, draw the warnings
// the file reader gives and change no result.
TEST(Equate, TheRawColumnDrawsWarningsAndChangesNothing) {
  EquatingInput input = small_input();
  const EquatingResult reference = equate(input);
  EXPECT_TRUE(reference.input_warnings.empty());
  const struct {
    std::vector<double> raw;
    std::vector<std::string> warnings;
  } cases[] = {
      {{}, {}},
      {{4, 3, 2, 1, 0},
       {"scale table: row 1 gives raw score 4 but stands for form Y's raw score 0; rows pair with score points by "
        "position, lowest first (and 3 rows more)"}},
      {{0, 1, 3, 4, 5}, {"scale table: row 3 gives raw score 3 but stands for form Y's raw score 2; rows pair with "
                         "score points by position, lowest first (and 2 rows more)"}},
      {{0, 1, 2, 3, 4, -7}, {"scale table: row 6 and any after it are beyond form Y's 5 score points: not used"}},
  };
  for (const auto& c : cases) {
    std::vector<double> scale{10, 20, 30, 40, 50, 60};
    scale.resize(std::max<std::size_t>(c.raw.size(), 5));
    input.scale_table = {10, 50, c.raw, scale, scale};
    const EquatingResult result = equate(input);
    EXPECT_EQ(result.input_warnings, c.warnings);
    EXPECT_TRUE(same(result, reference));
  }
}

// Form Y's third item has a steep negative slope: its test characteristic
// curve falls around theta 0.5, and with it the true score equivalents. Each
// still takes the scale score of the table segment that brackets it.
TEST(Equate, FallingEquivalentsConvertOnTheirOwnSegments) {
  EquatingInput input = small_input();
  input.items_y[2] = make_item(ItemModel::sl, {0, 1, 2}, {1.7, -4.0, 0.8, 0.2}, 3);
  input.scale_table = {10, 60, {0, 1, 2, 3, 4}, {10, 12, 30, 45, 60}, {10, 12, 30, 45, 60}};
  const EquatingResult result = equate(input);
  const std::vector<double>& e = result.true_score.equivalents;
  bool falls = false;
  for (std::size_t i = 1; i < e.size(); ++i) falls = falls || e[i] < e[i - 1];
  ASSERT_TRUE(falls) << "the equivalents should fall somewhere";
  for (std::size_t i = 0; i < e.size(); ++i) {
    const double y = std::floor(e[i]);
    if (y < 0 || y >= 4) continue;  // end segments are checked elsewhere
    const auto k = static_cast<std::size_t>(y);
    const double expected = (e[i] - y) * (input.scale_table.scale[k + 1] - input.scale_table.scale[k]) + input.scale_table.scale[k];
    EXPECT_NEAR(result.true_score.scale[i], expected, 1e-12) << "raw " << result.x.raw_scores[i] << ", equivalent " << e[i];
  }
}

// Form X's third item has unreachable top categories, so the curve stays
// near 3 at theta 8 and the search for raw score 4 fails.
TEST(Equate, FailedSearchesAreWarningsAndTheRunGoesOn) {
  EquatingInput input = small_input();
  input.items_x[2] = make_item(ItemModel::sn, {0, 1, 2}, {1.0, 0.0, 20.0}, 3);
  const EquatingResult result = equate(input);
  ASSERT_EQ(result.warnings.size(), 1u);
  const RootFinderWarning& w = result.warnings[0];
  EXPECT_EQ(w.point, 3u);
  EXPECT_EQ(w.raw_score, 3.0);
  EXPECT_EQ(w.problem, RootFinderProblem::not_bracketed);
  EXPECT_EQ(w.theta, result.true_score.thetas[3]);
  EXPECT_EQ(result.true_score.theta_kinds[3], ThetaKind::searched);
  EXPECT_EQ(warning_message(w), "form X raw score 3: root must be bracketed for zbrent; theta 8");
}

TEST(Equate, ManyThreadsAtOnceGiveTheSameResults) {
  EquatingInput other = small_input();
  other.items_x[2] = make_item(ItemModel::sn, {0, 1, 2}, {1.0, 0.0, 20.0}, 3);
  const std::vector<EquatingInput> inputs{small_input(), other};
  const std::vector<EquatingResult> alone{equate(inputs[0]), equate(inputs[1])};
  std::vector<EquatingResult> results(8);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < results.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int repeat = 0; repeat < 20; ++repeat) results[t] = equate(inputs[t % 2]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (std::size_t t = 0; t < results.size(); ++t) EXPECT_TRUE(same(results[t], alone[t % 2])) << "thread " << t;
}

TEST(Equate, RestoresTheCallersFloatingPointMode) {
  const EquatingResult expected = equate(small_input());
  std::fesetround(FE_UPWARD);
  const EquatingResult result = equate(small_input());
  const int rounding = std::fegetround();
  std::fesetround(FE_TONEAREST);
  EXPECT_EQ(rounding, FE_UPWARD);
  EXPECT_TRUE(same(result, expected)) << "the run's arithmetic depends on the caller's rounding mode";
}

// The largest legal input: two 200-item forms of 1000 score points each and
// two 100-point grids. Under AddressSanitizer this shows that nothing is
// written outside its storage at the limits.
TEST(Equate, TheLargestLegalInput) {
  EquatingInput input;
  for (std::vector<Item>* form : {&input.items_y, &input.items_x}) {
    for (int i = 0; i < max_items; ++i) {
      const double b = -2.0 + 4.0 * i / (max_items - 1);
      if (i + 1 < max_items) {
        form->push_back(make_item(ItemModel::sl, {0, 1, 2, 3, 4, 5}, {1.7, 1.0, b - 1, b - 0.5, b, b + 0.5, b + 1}, i + 1));
      } else {
        form->push_back(make_item(ItemModel::sn, {0, 1, 2, 3, 4}, {1.0, b - 1, b, b + 0.5, b + 1}, i + 1));
      }
    }
  }
  for (QuadratureGrid* grid : {&input.grid_group1, &input.grid_group2}) {
    for (int j = 0; j < max_quadrature_points; ++j) {
      const double theta = -4.0 + 8.0 * j / (max_quadrature_points - 1);
      grid->points.push_back(theta);
      grid->weights.push_back(std::exp(-theta * theta / 2));
    }
  }
  for (int k = 0; k < max_score_points; ++k) {
    input.scale_table.raw.push_back(k);
    input.scale_table.scale.push_back(100.0 + k / 10.0);
    input.scale_table.rounded.push_back(std::round(100.0 + k / 10.0));
  }
  input.scale_table.scale_min = 100;
  input.scale_table.scale_max = 200;
  const EquatingResult result = equate(input);
  EXPECT_EQ(result.x.raw_scores.size(), static_cast<std::size_t>(max_score_points));
  EXPECT_EQ(result.y.raw_scores.size(), static_cast<std::size_t>(max_score_points));
  EXPECT_EQ(result.true_score.scale.size(), static_cast<std::size_t>(max_score_points));
}

}  // namespace
}  // namespace irteq::testing
