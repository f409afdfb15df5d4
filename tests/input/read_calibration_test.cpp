// Calibration programs' parameter files give items whose probabilities are
// the programs' own formulas, labels kept; a covariance of the printed values
// follows the conversion; what irteq does not take is refused, naming file,
// line and label.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "irteq/irteq.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;
const fs::path data = fs::path(IRTEQ_SOURCE_DIR) / "tests" / "input" / "calibration";
const std::vector<double> thetas{-4.0, -2.5, -1.3, -0.4, 0.0, 0.35, 1.1, 2.2, 3.9};

double logistic(double x) { return 1.0 / (1.0 + std::exp(-x)); }
std::vector<double> softmax(const std::vector<double>& z) {
  double sum = 0.0;
  for (const double v : z) sum += std::exp(v);
  std::vector<double> p;
  for (const double v : z) p.push_back(std::exp(v) / sum);
  return p;
}

// flexMIRT's formulas for the items of formx-prm.txt, category by category.
std::vector<double> flexmirt_probabilities(int item, double t) {
  switch (item) {
    case 0: {  // 3PL: g, d, a
      const double c = logistic(-1.386294361), P = c + (1.0 - c) * logistic(1.2 * t + 0.5);
      return {1.0 - P, P};
    }
    case 1: {  // graded: P(k or higher) = logistic(a*theta + d(k))
      const double g1 = logistic(1.4 * t + 2.0), g2 = logistic(1.4 * t + 0.1), g3 = logistic(1.4 * t - 1.5);
      return {1.0 - g1, g1 - g2, g2 - g3, g3};
    }
    case 2: {  // nominal, trend contrasts, alpha (1, 0): the partial credit item; c(k) = 0.4 k - 0.2 sin(pi k / 2)
      const double c1 = 0.4 - 0.2 * std::sin(std::numbers::pi / 2.0), c2 = 0.8 - 0.2 * std::sin(std::numbers::pi);
      return softmax({0.0, 0.9 * 1.0 * t + c1, 0.9 * 2.0 * t + c2});
    }
    default:  // nominal, identity contrasts
      return softmax({0.0, 1.1 * 0.5 * t + 0.2, 1.1 * 1.3 * t - 0.4});
  }
}

TEST(ReadCalibration, FlexmirtItemsGiveTheProgramsProbabilities) {
  for (const CalibrationProgram program : {CalibrationProgram::flexmirt, CalibrationProgram::irtpro}) {
    const CalibrationFile file = read_calibration(data / "formx-prm.txt", program);
    ASSERT_EQ(file.items.size(), 4u);
    EXPECT_FALSE(file.covariance);
    ASSERT_EQ(file.groups.size(), 1u);
    EXPECT_EQ(file.groups[0].number, 1);
    EXPECT_EQ(file.groups[0].label, "Group1");
    EXPECT_EQ(file.groups[0].mean, 0.25);
    EXPECT_EQ(file.groups[0].variance, 1.44);
    const std::vector<std::string> labels{"M01", "G02", "P03", "N 04"};
    for (std::size_t i = 0; i < file.items.size(); ++i) {
      EXPECT_EQ(file.items[i].number, static_cast<int>(i + 1));
      EXPECT_EQ(file.items[i].label, labels[i]);
      for (const double t : thetas) {
        const std::vector<double> got = probabilities(file.items[i], t);
        const std::vector<double> want = flexmirt_probabilities(static_cast<int>(i), t);
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-12) << labels[i] << " " << t;
      }
    }
  }
}

// A group line of another layout (two factors, text where a number was
// expected) is kept without its mean and variance; the items read as ever.
TEST(ReadCalibration, AGroupLineOfAnotherLayoutIsKeptWithoutMoments) {
  const fs::path file = fs::temp_directory_path() / "irteq-calibration-groups-prm.txt";
  std::ofstream(file) << "1\tM01\t1\t1\t1\t2\t-1.4\t0.5\t1.2\n0\tG1\t1\t2\t0\t0\t1\t0\t1\n0\tG2\tone\n";
  const CalibrationFile read = read_calibration(file, CalibrationProgram::flexmirt);
  fs::remove(file);
  ASSERT_EQ(read.items.size(), 1u);
  ASSERT_EQ(read.groups.size(), 2u);
  EXPECT_EQ(read.groups[0].number, 1);
  EXPECT_EQ(read.groups[1].label, "G2");
  for (const CalibrationGroup& group : read.groups) EXPECT_TRUE(std::isnan(group.mean) && std::isnan(group.variance));
}

// Winsteps: Rasch items, P = 1 / (1 + exp(-(theta - b))), and a partial
// credit item with Rasch-Andrich thresholds F(j): P(k) ~ exp(sum over j <= k of (theta - b - F(j))).
TEST(ReadCalibration, WinstepsItemsGiveTheProgramsProbabilities) {
  const CalibrationFile file = read_calibration(data / "formx-ifile.txt", CalibrationProgram::winsteps,
                                                {.thresholds = data / "formx-sfile.txt"});
  ASSERT_EQ(file.items.size(), 3u);
  EXPECT_EQ(file.items[0].label, "WATCH BIRDS");
  EXPECT_EQ(file.items[2].label, "GROW GARDEN");
  EXPECT_EQ(file.items[2].category_scores, (std::vector<int>{0, 1, 2}));
  for (const double t : thetas) {
    const std::vector<std::vector<double>> want{
        {1.0 - logistic(t + 0.89), logistic(t + 0.89)},
        {1.0 - logistic(t - 0.42), logistic(t - 0.42)},
        softmax({0.0, t - 0.15 + 0.85, (t - 0.15 + 0.85) + (t - 0.15 - 0.85)}),
    };
    for (std::size_t i = 0; i < want.size(); ++i) {
      const std::vector<double> got = probabilities(file.items[i], t);
      ASSERT_EQ(got.size(), want[i].size());
      for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], want[i][k], 1e-12) << i << " " << t;
    }
  }
}

// A diagonal covariance of the printed values: the 3PL item's c and b and
// the graded item's b(1) have the delta method's variances.
TEST(ReadCalibration, FlexmirtCovarianceFollowsTheConversion) {
  const fs::path cov = fs::temp_directory_path() / "irteq-calibration-cov.txt";
  const std::size_t q = 3 + 4 + 5 + 5;
  std::vector<double> variance(q);
  {
    std::ofstream out(cov);
    for (std::size_t r = 0; r < q; ++r) {
      variance[r] = 0.01 * static_cast<double>(r + 1);
      for (std::size_t c = 0; c < q; ++c) out << (c ? "\t" : "") << (r == c ? variance[r] : 0.0);
      out << "\n";
    }
  }
  const CalibrationFile file =
      read_calibration(data / "formx-prm.txt", CalibrationProgram::flexmirt, {.covariance = cov});
  fs::remove(cov);
  ASSERT_TRUE(file.covariance);
  const Covariance& C = *file.covariance;
  ASSERT_EQ(C.size, covariance_size(file.items));
  const auto at = [&](std::size_t r) { return C.values[r * C.size + r]; };
  const double c = logistic(-1.386294361), a = 1.2, d = 0.5;
  EXPECT_NEAR(at(0), variance[2], 1e-15);                                                         // a
  EXPECT_NEAR(at(1), variance[1] / (a * a) + d * d / (a * a * a * a) * variance[2], 1e-15);       // b = -d/a
  EXPECT_EQ(C.guessing, GuessingMetric::logit);
  EXPECT_EQ(at(2), variance[0]);  // logit(c), as the program estimated it
  const double c_variance = probability_metric(C, file.items).values[2 * C.size + 2];
  EXPECT_NEAR(c_variance, c * (1 - c) * c * (1 - c) * variance[0], 1e-15);  // c
  EXPECT_NEAR(at(4), variance[3] / (1.4 * 1.4) + 4.0 / std::pow(1.4, 4) * variance[6], 1e-15);  // graded b(1)
}

TEST(ReadCalibration, RefusesWhatItDoesNotTakeNamingFileLineAndLabel) {
  struct Case {
    CalibrationProgram program;
    std::string lines;
    std::string label;
    std::string what;
  };
  const std::string good = "1\tOK1\t1\t1\t1\t2\t-1.1\t0.5\t1.2\n";
  const std::vector<Case> cases{
      {CalibrationProgram::flexmirt, good + "1\tMD2\t1\t2\t1\t2\t-1.1\t0.5\t1.2\t0.7\n", "MD2", "multidimensional"},
      {CalibrationProgram::flexmirt, good + "1\tQ4\t1\t1\t1\t2\t-1.1\t0.5\t1.2\t2.0\n", "Q4", "four-parameter"},
      {CalibrationProgram::irtpro, good + "1\tU9\t1\t1\t7\t2\t0.5\t1.2\n", "U9", "model code 7"},
      {CalibrationProgram::winsteps, ";ENTRY MEASURE ST M NAME\n1 0.5 1 S SUCCESS ITEM\n", "SUCCESS ITEM", "model code S"},
  };
  const fs::path file = fs::temp_directory_path() / "irteq-calibration-refused.txt";
  for (const Case& c : cases) {
    std::ofstream(file) << c.lines;
    try {
      read_calibration(file, c.program);
      ADD_FAILURE() << c.label << " was read";
    } catch (const Error& error) {
      const std::string message = error.what();
      for (const std::string& part : {file.string(), std::string("line 2"), c.label, c.what}) {
        EXPECT_NE(message.find(part), std::string::npos) << message << " lacks " << part;
      }
    }
  }
  fs::remove(file);
}


// A control file's item parameter record may name a flexMIRT file, relative
// to the control file's folder; its -cov.txt then reaches the standard errors.
TEST(ReadCalibration, AControlFileNamesAFlexmirtFile) {
  const fs::path folder = fs::temp_directory_path() / "irteq-calibration-control";
  fs::create_directories(folder);
  fs::copy_file(data / "formx-prm.txt", folder / "formx-prm.txt", fs::copy_options::overwrite_existing);
  const fs::path example = fs::path(IRTEQ_SOURCE_DIR) / "examples" / "spring-grade7";
  std::ofstream(folder / "formx-cov.txt") << "1 2\n";
  std::ofstream(folder / "control.txt") << "output report.txt\nold_para " << (example / "formy.par").string()
                                        << "\nold_quad " << (example / "group2.qd").string() << "\nraw2scale "
                                        << (example / "formy.scl").string()
                                        << "\nnew_para flexmirt:formx-prm.txt\nnew_quad "
                                        << (example / "group1.qd").string() << "\nnew_cov formx-cov.txt\n";
  const ControlFile files = read_control(folder / "control.txt");
  EXPECT_EQ(files.new_para, "flexmirt:" + (folder / "formx-prm.txt").string());
  const RunInput run = read_run(files);
  ASSERT_EQ(run.equating.items_x.size(), 4u);
  EXPECT_EQ(run.equating.items_x[3].label, "N 04");
  EXPECT_EQ(run.files[4].path, fs::canonical(folder / "formx-prm.txt").string());
  // The covariance is the program's, over the 17 printed values: this one is too small.
  try {
    read_covariances(files, run);
    ADD_FAILURE() << "a 2-number covariance was read";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("must be 17 by 17"), std::string::npos) << error.what();
  }
  // Winsteps' SFILE goes in the record's parentheses, resolved as the IFILE is.
  std::ofstream(folder / "control.txt") << "output report.txt\nold_para winsteps(SFILE=formx-sfile.txt;D=1.25):formx-ifile.txt\n"
                                           "old_quad q\nraw2scale s\nnew_para p\nnew_quad q\n";
  EXPECT_EQ(read_control(folder / "control.txt").old_para,
            "winsteps(D=1.25;SFILE=" + (folder / "formx-sfile.txt").string() + "):" +
                (folder / "formx-ifile.txt").string());
  // The run's record names the SFILE beside the IFILE.
  for (const char* name : {"formx-ifile.txt", "formx-sfile.txt"}) {
    fs::copy_file(data / name, folder / name, fs::copy_options::overwrite_existing);
  }
  std::ofstream(folder / "control.txt") << "output report.txt\nold_para " << (example / "formy.par").string()
                                        << "\nold_quad " << (example / "group2.qd").string() << "\nraw2scale "
                                        << (example / "formy.scl").string()
                                        << "\nnew_para winsteps(SFILE=formx-sfile.txt):formx-ifile.txt\nnew_quad "
                                        << (example / "group1.qd").string() << "\n";
  const RunInput winsteps = read_run(read_control(folder / "control.txt"));
  ASSERT_EQ(winsteps.files.size(), 7u);
  EXPECT_EQ(winsteps.files[4].path, fs::canonical(folder / "formx-ifile.txt").string());
  EXPECT_EQ(winsteps.files[5].role, "new_para_thresholds");
  EXPECT_EQ(winsteps.files[5].path, fs::canonical(folder / "formx-sfile.txt").string());
  fs::remove_all(folder);
}

// The worked example: form X as flexMIRT prints it equates as its irteq
// items do (the normal-ogive graded items as logistic ones, slope 1.7a), to
// the rounding of the printed values.
TEST(ReadCalibration, TheFlexmirtExampleEquatesAsItsIrteqItems) {
  const fs::path examples = fs::path(IRTEQ_SOURCE_DIR) / "examples";
  RunInput flexmirt = read_run(read_control(examples / "flexmirt-grade7" / "control.txt"));
  ASSERT_EQ(flexmirt.equating.items_x.size(), 46u);
  EXPECT_EQ(flexmirt.equating.items_x[45].label, "MA7X046");
  RunInput irteq_items = flexmirt;
  irteq_items.equating.items_x = read_items(examples / "spring-grade7" / "formx.par");
  for (Item& item : irteq_items.equating.items_x) {
    if (item.model != ItemModel::sn) continue;
    item.model = ItemModel::sl;
    item.parameters.insert(item.parameters.begin(), 1.7);
  }
  const EquatingResult a = run(flexmirt).equating, b = run(irteq_items).equating;
  ASSERT_EQ(a.true_score.equivalents.size(), b.true_score.equivalents.size());
  for (std::size_t j = 0; j < a.true_score.equivalents.size(); ++j) {
    EXPECT_NEAR(a.true_score.equivalents[j], b.true_score.equivalents[j], 1e-8) << j;
    EXPECT_NEAR(a.observed_score.equivalents[j], b.observed_score.equivalents[j], 1e-8) << j;
  }
}

}  // namespace
}  // namespace irteq::testing
