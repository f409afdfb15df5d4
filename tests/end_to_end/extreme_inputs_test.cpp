// Extreme but valid inputs: very steep items, thresholds far out, abilities
// out to +-10, nominal items whose exponents leave the double range, lower
// asymptotes 0 and near 1. The run must end normally and print a number
// wherever the report has one. Root-finder warnings may appear: some of these
// curves do not reach every score between theta -8 and 8.
//
// Every form here keeps some moderate items, so that no distribution sits on
// a single score (whose skewness and kurtosis are 0/0), and the scale table
// rises by 10 per raw score, so the rounded scale equivalents differ.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "support/small_case.hpp"

namespace irteq::testing {
namespace {

// An item parameter file: a title line, then the items as given.
std::string items(const std::string& body) { return "1 extreme items\n" + body; }

const std::string moderate_items =
    "91 L3 2\n0 1\n1.7 1.0 0.0 0.2\n"
    "92 SN 3\n0 1 2\n0.9 -1.0 0.5\n"
    "93 MU 3\n0 1 2\n1.7 0.8 0.2 0.0 0.5 -0.5\n";

// Equally spaced points from -10 to 10 with weights like a flat or a normal density.
std::string grid(int count, bool normal) {
  std::string text = "abilities -10 to 10\n";
  for (int j = 0; j < count; ++j) {
    const double theta = -10.0 + 20.0 * j / (count - 1);
    text += std::to_string(theta) + " " + (normal ? std::to_string(1e6 * std::exp(-theta * theta / 8.0)) : "1") + "\n";
  }
  return text;
}

// 100 rows; those beyond form Y's score points are not used (and warned of).
std::string scale_table() {
  std::string text = "scale\n100 1090 0.4\n";
  for (int k = 0; k < 100; ++k) text += std::to_string(k) + " " + std::to_string(100 + 10 * k) + " " + std::to_string(100 + 10 * k) + "\n";
  return text;
}

// Runs form X against form Y over grids from -10 to 10 and checks the run and its report.
void expect_a_clean_run(const std::string& x_items, const std::string& y_items) {
  SmallCase c;
  c.set("x.par", items(x_items + moderate_items));
  c.set("y.par", items(y_items + moderate_items));
  c.set("g1.qd", grid(41, true));
  c.set("g2.qd", grid(21, false));
  c.set("y.scl", scale_table());
  const BinaryRun run = c.run("control.txt\n" + std::string(1000, '\n'));
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  // Only the warnings that the table's raw column and its extra rows draw.
  std::istringstream errors(run.errors);
  for (std::string line; std::getline(errors, line);) {
    EXPECT_TRUE(line.starts_with("irteq: warning: y.scl")) << line;
  }
  const std::string report = c.report();
  EXPECT_NE(report.find("rounded scale score moments"), std::string::npos);
  EXPECT_EQ(report.find("NaN"), std::string::npos) << report;
  EXPECT_EQ(report.find("INF"), std::string::npos) << report;
}

TEST(ExtremeInputs, SteepSlopes) {
  const std::string steep =
      "1 L3 2\n0 1\n1.7 50 0.5 0.2\n"
      "2 SN 4\n0 1 2 3\n50 -1 0 1\n"
      "3 SL 3\n0 1 2\n1.7 50 -0.5 0.5\n"
      "4 BN 3\n0 1 2\n1.7 0 50 100 0 0 0\n"
      "5 MU 4\n0 1 2 3\n1.7 50 0 0 0.2 -0.2 0.1\n";
  const std::string gentle_and_steep =
      "1 L3 2\n0 1\n1.0 50 -0.5 0.1\n"
      "2 SN 3\n0 2 3\n50 -2 2\n"
      "3 SL 4\n-1 0 1 2\n1.0 50 -1 0 1\n"
      "4 BN 4\n0 1 2 3\n1.0 -100 0 50 100 1 0 0 -1\n";
  expect_a_clean_run(steep, gentle_and_steep);
  expect_a_clean_run(gentle_and_steep, steep);
}

TEST(ExtremeInputs, ThresholdsFarOut) {
  const std::string far =
      "1 L3 2\n0 1\n1.7 1.0 10 0.2\n"
      "2 L3 2\n0 1\n1.7 50 -10 0.2\n"
      "3 SN 5\n0 1 2 3 4\n2.0 -10 -8 8 10\n"
      "4 SL 3\n0 1 2\n1.7 50 -10 10\n"
      "5 MU 3\n0 1 2\n1.7 1.0 8 0 -2 2\n"
      "6 BN 3\n0 1 2\n1.7 -1 0 1 -10 0 10\n";
  const std::string near = "1 SL 3\n0 1 2\n1.7 1.0 -8 8\n2 L3 2\n0 1\n1.7 2.0 8 0.2\n";
  expect_a_clean_run(far, near);
  expect_a_clean_run(near, far);
}

// D * a * theta reaches 1700 and, for "MU" items (slopes k * a), 5100: the
// exponentials overflow or underflow at the ends of the grid.
TEST(ExtremeInputs, NominalExponentsBeyondTheDoubleRange) {
  const std::string overflowing =
      "1 BN 3\n0 1 2\n1.7 -100 0 100 0 0 0\n"
      "2 BN 3\n0 1 2\n1.7 60 80 100 0 0 0\n"
      "3 MU 6\n0 1 2 3 4 5\n1.7 50 0 0 0.5 0.2 -0.2 -0.5 0\n"
      "4 BN 2\n0 1\n1.0 100 100.5 0 0\n";
  expect_a_clean_run(overflowing, overflowing);
  expect_a_clean_run(overflowing, "1 L3 2\n0 1\n1.7 1.0 0.0 0.2\n");
}

TEST(ExtremeInputs, LowerAsymptotesZeroAndNearOne) {
  const std::string guessing =
      "1 L3 2\n0 1\n1.7 1.0 0.0 0.0\n"
      "2 L3 2\n0 1\n1.7 1.0 0.5 0.999999\n"
      "3 L3 2\n0 1\n1.7 50 -1.0 0.99\n"
      "4 L3 2\n0 1\n1.0 2.0 1.0 0.999\n";
  const std::string without = "1 L3 2\n0 1\n1.7 1.0 0.0 0.0\n2 L3 2\n0 1\n1.7 1.2 1.0 0.0\n";
  expect_a_clean_run(guessing, without);
  expect_a_clean_run(without, guessing);
  expect_a_clean_run(guessing, guessing);
}

// Exponents of about -745 for all categories of a nominal item: each
// exponential is a denormal of a few units, so their quotients would be far
// from the probabilities (1, 0, 0 instead of 0.78, 0.18, 0.04). Shifted by
// the largest exponent they are exact: exp(-0.34 k) / (1 + exp(-0.34) + exp(-0.68)).
TEST(ExtremeInputs, NominalExponentsNearTheUnderflowKeepTheirRatios) {
  SmallCase c;
  c.set("x.par", items("1 BN 3\n0 1 2\n1.7 100 100.2 100.4 0 0 0\n"));
  c.set("y.par", items("1 BN 3\n0 1 2\n1.7 100 100.2 100.4 0 0 0\n"));
  c.set("g1.qd", "one point\n-4.38 1\n");
  c.set("g2.qd", "one point\n-4.38 1\n");
  c.set("y.scl", scale_table());
  ASSERT_EQ(c.run("control.txt\n" + std::string(100, '\n')).exit_status, 0);
  EXPECT_EQ(report_section(c.report(), "marginal distribution form x"),
            "marginal distribution form x\n"
            "\n"
            "x-raw     grp 1       grp 2       grp s\n"
            "  0.  0.78343677  0.78343677  0.78343677\n"
            "  1.  0.17670653  0.17670653  0.17670653\n"
            "  2.  0.03985669  0.03985669  0.03985669\n");
}

TEST(ExtremeInputs, EverythingAtOnce) {
  const std::string all =
      "1 L3 2\n0 1\n1.7 50 10 0.999999\n"
      "2 L3 2\n0 1\n1.7 50 -10 0\n"
      "3 SN 4\n-2 0 1 5\n50 -10 0 10\n"
      "4 SL 4\n0 1 2 4\n1.7 50 -8 0 8\n"
      "5 BN 4\n0 1 2 3\n1.7 -100 -50 50 100 10 -10 -10 10\n"
      "6 MU 5\n0 1 2 3 4\n1.7 50 8 0 1 -1 0.5 -0.5\n";
  expect_a_clean_run(all, all);
}

}  // namespace
}  // namespace irteq::testing
