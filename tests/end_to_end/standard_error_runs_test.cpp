// Standard errors from the console program: the published est2pl linking
// constants and their standard errors in linking.csv, and covariance records
// that change nothing until standard errors are asked for.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/binary_run.hpp"
#include "support/small_case.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) out.push_back(field);
  return out;
}

TEST(StandardErrorRuns, Est2plLinkingCsvHasThePublishedConstantsAndStandardErrors) {
  const fs::path source = fs::path(IRTEQ_VALIDATION_DIR) / "est2pl";
  TempDir folder;
  fs::copy(source, folder.path(), fs::copy_options::recursive);
  std::istringstream expected(read_file(folder / "expected.csv"));
  std::string line;
  std::getline(expected, line);  // control,method,A,se_A,B,se_B
  int rows = 0;
  while (std::getline(expected, line)) {
    const std::vector<std::string> want = fields(line);
    const BinaryRun run = run_irteq_batch(folder.path(), {want[0], "--se", "--csv", "out"});
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    std::istringstream linking(read_file(folder / "out" / "linking.csv"));
    std::string row;
    bool found = false;
    while (std::getline(linking, row)) {
      const std::vector<std::string> got = fields(row);  // method,A,B,criterion,applied,se_A,se_B
      if (got[0] != want[1]) continue;
      found = true;
      EXPECT_EQ(got[4], "1");
      for (const auto& [value, published] : {std::pair{got[1], want[2]}, std::pair{got[5], want[3]},
                                             std::pair{got[2], want[4]}, std::pair{got[6], want[5]}}) {
        EXPECT_NEAR(std::stod(value), std::stod(published), 0.01 * std::fabs(std::stod(published))) << want[1];
      }
    }
    EXPECT_TRUE(found) << want[1];
    ++rows;
  }
  EXPECT_EQ(rows, 2);
}

TEST(StandardErrorRuns, CovarianceRecordsAreReadOnlyWhenStandardErrorsAreAsked) {
  SmallCase c;
  const BinaryRun plain = run_irteq_batch(c.folder().path(), {"control.txt"});
  ASSERT_EQ(plain.exit_status, 0) << plain.errors;
  const std::string report = read_file(c.folder() / "report.txt");
  c.set("control.txt", read_file(c.folder() / "control.txt") + "new_cov missing.cov\n");
  const BinaryRun named = run_irteq_batch(c.folder().path(), {"control.txt"});
  ASSERT_EQ(named.exit_status, 0) << named.errors;
  EXPECT_EQ(read_file(c.folder() / "report.txt"), report);
  const BinaryRun asked = run_irteq_batch(c.folder().path(), {"control.txt", "--se"});
  EXPECT_EQ(asked.exit_status, 1);
  EXPECT_NE(asked.errors.find("missing.cov"), std::string::npos) << asked.errors;
}

}  // namespace
}  // namespace irteq::testing
