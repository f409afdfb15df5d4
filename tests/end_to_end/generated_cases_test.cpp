// The generated cases: each folder is a complete run whose report and console
// output an independent implementation produced. Ours must match byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/control_file.hpp"
#include "support/binary_run.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> case_names() {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(IRTEQ_CASES_DIR, error)) {
    if (entry.is_directory() && fs::exists(entry.path() / "control.txt")) names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  if (names.empty()) names.push_back("none");  // reported as skipped below
  return names;
}

class GeneratedCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GeneratedCase, ReportAndConsoleMatchByteForByte) {
  const fs::path source = fs::path(IRTEQ_CASES_DIR) / GetParam();
  if (!fs::exists(source / "control.txt")) {
    if (IRTEQ_REQUIRE_CASES) FAIL() << "no generated cases at " << IRTEQ_CASES_DIR;
    GTEST_SKIP() << "no generated cases at " << IRTEQ_CASES_DIR;
  }
  TempDir folder;
  for (const auto& entry : fs::directory_iterator(source)) {
    if (entry.is_regular_file()) {
      fs::copy_file(entry.path(), folder / entry.path().filename().string());
      fs::permissions(folder / entry.path().filename().string(), fs::perms::owner_write, fs::perm_options::add);
    }
  }
  const fs::path here = fs::current_path();
  fs::current_path(folder.path());
  const std::string report_name = read_control_file("control.txt")[slot_output];
  fs::current_path(here);

  // Every pause answered by an empty line, as the expected console was made.
  const BinaryRun run = run_irteq(folder.path(), "control.txt\n\n\n\n\n\n\n\n");
  EXPECT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.console, read_file(source / "expected" / "console.txt"));
  const std::string expected = read_file(source / "expected" / "report");
  const std::string actual = read_file(folder / report_name);
  EXPECT_EQ(actual.size(), expected.size());
  EXPECT_TRUE(actual == expected) << "report " << report_name << " differs from expected/report";
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneratedCase, ::testing::ValuesIn(case_names()),
                         [](const auto& info) { return test_name_of(info.param); });

}  // namespace
}  // namespace irteq::testing
