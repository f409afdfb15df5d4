// Properties of whole runs on random valid cases (tests/support/random_case):
// the real binary runs them without a message, and the same run through the
// library gives the same report and has distributions that sum to 1, ordered
// equivalents within form Y's range, and a form equated to itself maps every
// score to itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "irteq/equate.hpp"
#include "irteq/files.hpp"
#include "models/prepare_items.hpp"
#include "models/test_characteristic_function.hpp"
#include "support/binary_run.hpp"
#include "support/random_case.hpp"
#include "truescore/true_score_equivalents.hpp"

namespace irteq::testing {
namespace {

constexpr std::uint64_t seed = 0x1e57'ca5e'2024;
constexpr int random_cases = 36;

// The first cases reach the limits of a run; the rest have random shapes.
std::vector<CaseShape> limit_shapes() {
  std::vector<CaseShape> shapes(6);
  shapes[0].y_items = 200;  // most items
  shapes[0].x_items = 45;
  shapes[1].y_items = 190;  // most score points
  shapes[1].y_target_points = 1000;
  shapes[1].x_items = 60;
  shapes[2].group1_points = shapes[2].group2_points = 100;  // most quadrature points
  shapes[2].y_items = 40;
  shapes[3].y_items = shapes[3].x_items = 1;  // least of everything
  shapes[3].group1_points = shapes[3].group2_points = 1;
  shapes[4].y_items = 150;  // a long form equated to itself
  shapes[4].y_target_points = 900;
  shapes[4].group2_points = 15;
  shapes[4].self_equating = true;
  shapes[5].y_items = 1;
  shapes[5].self_equating = true;
  return shapes;
}

double sum_of(const std::vector<double>& distribution) {
  double sum = 0.0;
  for (const double p : distribution) sum += p;
  return sum;
}

class GeneratedRun : public ::testing::TestWithParam<int> {};

TEST_P(GeneratedRun, PropertiesHold) {
  const int index = GetParam();
  RandomCaseGenerator generator(seed + static_cast<std::uint64_t>(index));
  const std::vector<CaseShape> limits = limit_shapes();
  const CaseShape shape = index < static_cast<int>(limits.size()) ? limits[static_cast<std::size_t>(index)]
                                                                   : generator.random_shape();
  TempDir folder;
  write_case(generator.make(shape), folder.path());
  SCOPED_TRACE("generated case " + std::to_string(index) + " (seed " + std::to_string(seed + index) + ")");

  const BinaryRun binary = run_irteq(folder.path(), "control.txt\n\n\n\n");
  ASSERT_EQ(binary.exit_status, 0) << binary.errors;
  EXPECT_EQ(binary.errors, "");
  EXPECT_EQ(binary.console, "Please input the control file name\npress return to exit program\n");

  // The same run through the library.
  std::string report;
  const LineSink lines = [&](std::string_view line) { report.append(line).append("\r\n"); };
  const EquatingInput input = read_control_file(folder / "control.txt", {.echo = lines, .warning = {}});
  const EquatingResult run = equate(input);
  write_report(run, lines);
  EXPECT_TRUE(report == read_file(folder / "report.txt")) << "the two reports differ";
  EXPECT_TRUE(run.warnings.empty());

  for (const std::vector<double>* d : {&run.y.group1, &run.y.group2, &run.y.synthetic, &run.x.group1,
                                       &run.x.group2, &run.x.synthetic}) {
    EXPECT_NEAR(sum_of(*d), 1.0, 1e-12);
  }

  const std::vector<double>& x = run.x.raw_scores;
  const std::vector<double>& observed = run.observed_score.equivalents;
  const std::vector<double>& true_equivalents = run.true_score.equivalents;
  const std::vector<double>& thetas = run.true_score.thetas;
  const std::size_t nx = x.size();
  const double y_low = run.y.raw_scores.front() - 0.5;
  const double y_high = run.y.raw_scores.back() + 0.5;
  for (std::size_t i = 0; i < nx; ++i) {
    EXPECT_GT(observed[i], y_low) << "raw " << x[i];
    EXPECT_LT(observed[i], y_high) << "raw " << x[i];
    if (i > 0) {
      EXPECT_GE(observed[i], observed[i - 1]) << "raw " << x[i];
      EXPECT_GE(true_equivalents[i], true_equivalents[i - 1]) << "raw " << x[i];
    }
  }

  // Thetas: -99 at the lowest point and in the linear region, then the
  // searched points rising within the search interval, then 99 at the top.
  const std::vector<Item> items_x = prepare_items(input.items_x);
  const auto nlow = static_cast<std::size_t>(chance_score(items_x) + 0.0001);
  const std::size_t first_searched = std::max<std::size_t>(nlow + 1, 1);
  EXPECT_EQ(thetas[nx - 1], 99.0);
  for (std::size_t i = 0; i + 1 < nx; ++i) {
    if (i < first_searched) {
      EXPECT_EQ(thetas[i], -99.0) << "raw " << x[i];
      EXPECT_EQ(run.true_score.theta_kinds[i], ThetaKind::linear);
    } else {
      EXPECT_GT(thetas[i], i == first_searched ? -8.0 : thetas[i - 1]) << "raw " << x[i];
      EXPECT_LT(thetas[i], 8.0) << "raw " << x[i];
      EXPECT_EQ(run.true_score.theta_kinds[i], ThetaKind::searched);
    }
  }

  if (!shape.self_equating) return;
  for (std::size_t i = 0; i < nx; ++i) {
    const double score = x[i];
    // Observed: the rank of score i is F(i-1) + f(i)/2, so its equivalent is
    // (rank - F(i-1)) / (F(i) - F(i-1)) + score - 0.5 with the same f (after the
    // adjustment of zero probabilities, f >= about 1e-8). The rank and F(i) are
    // each rounded once, by at most half an ulp of a number below about 1
    // (1.1e-16), and the differences are exact, so the quotient is 1/2 within
    // 1.5 * 1.1e-16 / f: 2.2e-16 / f, at most 2.2e-8 and below 1e-9 wherever
    // f > 2.2e-7; plus rounding of a sum near 1000. (A flat 1e-9 would not do:
    // these cases reach 2.8e-9 at scores of probability near 1e-8.)
    const double f = run.x.synthetic[i];
    EXPECT_NEAR(observed[i], score, 2.2e-16 / f + 1e-12) << "raw " << score;
    // True: zbrent stops when the bracket [b, c] around the root is at most
    // 2 * tol1 = 1.2e-7 * |theta| + 1e-6 wide (or the function is exactly 0 at
    // b), so the root lies within h = 2 * tol1 of the theta returned. The curve
    // rises, so the equivalent, the curve at theta, and the score, the curve at
    // the root, both lie between the curve at theta - h and theta + h: the
    // tolerance is the slope of the curve times 2h, measured, plus 1e-9 for the
    // rounding of the sums. For these forms that is 3e-6 to 2e-4, and up to
    // 6e-4 for the 150-item form, whose curve rises by up to about 290 raw
    // points per unit theta; the equivalents found are off by at most 6e-5.
    const double theta = thetas[i];
    if (std::fabs(theta) == 99.0) {
      EXPECT_NEAR(true_equivalents[i], score, 1e-12) << "raw " << score;
    } else {
      const double h = 1.2e-7 * std::fabs(theta) + 1e-6;
      const double tolerance = test_characteristic_function(items_x, theta + h) -
                               test_characteristic_function(items_x, theta - h) + 1e-9;
      EXPECT_NEAR(true_equivalents[i], score, tolerance) << "raw " << score << ", theta " << theta;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneratedRun,
                         ::testing::Range(0, random_cases + static_cast<int>(limit_shapes().size())),
                         [](const auto& info) {
                           const int limits = static_cast<int>(limit_shapes().size());
                           return info.param < limits ? "limit_" + std::to_string(info.param)
                                                      : "random_" + std::to_string(info.param - limits);
                         });

}  // namespace
}  // namespace irteq::testing
