// Whole runs of the real binary on forms small enough to check by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "support/small_case.hpp"

namespace irteq::testing {
namespace {

// Two identical forms of two "L3" items with P(theta) = 0.2 + 0.8 / (1 + exp(-1.7 theta)),
// grid -1, 0, 1 with weights 1, 2, 1: P(-1) = 0.323572, P(0) = 0.6, P(1) = 0.876428, so
// P(raw 0) = 0.25 * 0.676428^2 + 0.5 * 0.16 + 0.25 * 0.123572^2 = 0.198206 and the mean is 1.2.
// Raw 1 sits at the root of 2 P(theta) = 1, theta = -0.3004856610.
TEST(SmallRuns, IdenticalFormsEquateEachScoreToItself) {
  SmallCase c;
  const BinaryRun run = c.run();
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(run.console, "Please input the control file name\npress return to exit program\n");
  const std::string report = c.report();
  EXPECT_EQ(report_section(report, "true score equating output"),
            "true score equating output\n"
            "\n"
            "x-raw   theta       y-equiv     scale     rounded\n"
            "  0.  -99.000000    0.000000   10.000000   10.\n"
            "  1.   -0.300486    1.000000   20.000000   20.\n"
            "  2.   99.000000    2.000000   30.000000   30.\n");
  EXPECT_EQ(report_section(report, "marginal distribution form x"),
            "marginal distribution form x\n"
            "\n"
            "x-raw     grp 1       grp 2       grp s\n"
            "  0.  0.19820616  0.19820616  0.19820616\n"
            "  1.  0.40358768  0.40358768  0.40358768\n"
            "  2.  0.39820616  0.39820616  0.39820616\n");
  EXPECT_EQ(report_section(report, "observed score equivalents"),
            "observed score equivalents\n"
            "\n"
            "x-raw    y-equiv     scale    rounded\n"
            "  0.    0.000000   10.000000   10.\n"
            "  1.    1.000000   20.000000   20.\n"
            "  2.    2.000000   30.000000   30.\n");
  EXPECT_EQ(report_section(report, "scale score moments"),
            "scale score moments\n"
            "\n"
            " group  score  mean        sd     skew    kurt\n"
            "   2     Y    22.0000   7.4593  -0.3418   1.8565\n"
            "   1  trquiv  22.0000   7.4593  -0.3418   1.8565\n"
            "   1  obquiv  22.0000   7.4593  -0.3418   1.8565\n");
  // The report ends with the last moments row.
  EXPECT_EQ(report.substr(report.size() - 50), "   1  obquiv  22.0000   7.4593  -0.3418   1.8565\r\n");
}

std::string five_items(double c) {
  std::ostringstream file;
  file << "1 five items\n";
  for (int i = 1; i <= 5; ++i) file << i << " L3 2\n0 1\n1.7 1.0 " << (i - 3) * 0.5 << ' ' << c << '\n';
  return file.str();
}

// Form X's chance score 5 * 0.25 = 1.25 makes raw 0 and 1 linear: y = x * 1.0 / 1.25.
TEST(SmallRuns, ChanceScoresGiveTheLinearRegion) {
  SmallCase c;
  c.set("x.par", five_items(0.25));
  c.set("y.par", five_items(0.2));
  std::string scale = "scale\n0 50 0.5\n";
  for (int raw = 0; raw <= 5; ++raw) scale += std::to_string(raw) + " " + std::to_string(raw * 10) + " 0\n";
  c.set("y.scl", scale);
  ASSERT_EQ(c.run().exit_status, 0);
  std::istringstream rows(report_section(c.report(), "true score equating output"));
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(rows, line)) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u + 6u);
  EXPECT_EQ(lines[3], "  0.  -99.000000    0.000000    0.000000    0.");
  EXPECT_EQ(lines[4], "  1.  -99.000000    0.800000    8.000000    8.");
  EXPECT_EQ(lines[8], "  5.   99.000000    5.000000   50.000000   50.");
  for (int raw = 2; raw <= 4; ++raw) {
    std::istringstream fields(lines[static_cast<std::size_t>(raw + 3)]);
    double x = 0, theta = 0, y = 0;
    fields >> x >> theta >> y;
    EXPECT_EQ(x, raw);
    EXPECT_GT(theta, -8.0);
    EXPECT_LT(theta, 8.0);
    EXPECT_GT(y, raw - 1) << "form Y is harder at the bottom: its chance score is lower";
    EXPECT_LT(y, raw);
  }
}

// Form X of three items with scores -1/0, 0/1 and 0/1/2 (raw -1 to 3) against
// form Y of two: every X-indexed block has five rows, the form Y block three.
TEST(SmallRuns, FormsWithDifferentScorePointsAndNegativeScores) {
  SmallCase c;
  c.set("x.par", "1 mixed\n1 L3 2\n-1 0\n1.7 1.0 -0.5 0.2\n2 SL 2\n0 1\n1.7 1.0 0.3\n3 MU 3\n0 1 2\n1.7 0.8 0 0 0.4 -0.4\n");
  c.set("y.scl", "scale\n10 30 0\n0 10 10\n1 20 20\n2 30 30\n");
  ASSERT_EQ(c.run().exit_status, 0);
  const std::string report = c.report();
  const auto rows = [](const std::string& section) {
    return static_cast<int>(std::count(section.begin(), section.end(), '\n')) - 3;
  };
  EXPECT_EQ(rows(report_section(report, "true score equating output")), 5);
  EXPECT_EQ(rows(report_section(report, "marginal distribution form x")), 5);
  EXPECT_EQ(rows(report_section(report, "observed score equivalents")), 5);
  EXPECT_EQ(report_section(report, "marginal distribution form y").find(" -1."), std::string::npos);
  const std::string x_block = report_section(report, "marginal distribution form x");
  EXPECT_NE(x_block.find("\n -1.  0."), std::string::npos) << x_block;
  // w2 = 0: the synthetic population is group 1.
  std::istringstream lines(x_block);
  std::string line;
  for (int skip = 0; skip < 3; ++skip) std::getline(lines, line);
  while (std::getline(lines, line)) EXPECT_EQ(line.substr(4, 12), line.substr(28, 12)) << line;
}

// Form X of one single-category item has one score point: its distributions
// sit on it, so their moments have sd 0 and skewness and kurtosis 0/0.
TEST(SmallRuns, AOnePointDistributionPrintsNaNMomentsOnOneLine) {
  SmallCase c;
  c.set("x.par", "1 one point\n1 SN 1\n0\n1.0\n");
  const BinaryRun run = c.run();
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  const std::string moments = report_section(c.report(), "raw score moments");
  EXPECT_NE(moments.find("   1     X     0.0000   0.0000      NaN      NaN\n"), std::string::npos) << moments;
  EXPECT_NE(moments.find("   s     X     0.0000   0.0000      NaN      NaN\n"), std::string::npos) << moments;
  EXPECT_EQ(report_section(c.report(), "true score equating output"),
            "true score equating output\n"
            "\n"
            "x-raw   theta       y-equiv     scale     rounded\n"
            "  0.  -99.000000    0.000000   10.000000   10.\n");
}

}  // namespace
}  // namespace irteq::testing
