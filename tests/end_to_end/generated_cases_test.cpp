// The generated cases: each folder is a complete run whose report and console
// output an independent implementation produced. The dialogue and the library
// must match them byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "irteq/equate.hpp"
#include "irteq/files.hpp"
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

TEST_P(GeneratedCase, EveryModeMatchesByteForByte) {
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
  const std::string report_name = read_control(folder / "control.txt").output;
  const std::string expected = read_file(source / "expected" / "report");

  // Every pause answered by an empty line, as the expected console was made.
  const BinaryRun dialogue = run_irteq(folder.path(), "control.txt\n\n\n\n\n\n\n\n");
  EXPECT_EQ(dialogue.exit_status, 0) << dialogue.errors;
  EXPECT_EQ(dialogue.errors, "");
  EXPECT_EQ(dialogue.console, read_file(source / "expected" / "console.txt"));
  EXPECT_TRUE(read_file(report_name) == expected) << "the dialogue's report differs from expected/report";

  // The library: the same echo and results from the input in memory.
  std::string report;
  const LineSink lines = [&](std::string_view line) { report.append(line).append("\r\n"); };
  const EquatingResult result = equate(read_control_file(folder / "control.txt", {.echo = lines, .warning = {}}));
  write_report(result, lines);
  EXPECT_TRUE(report == expected) << "the library's report differs from expected/report";

  // The root finder's warnings: the console's lines with pauses.
  std::string console_warnings;
  for (const RootFinderWarning& warning : result.warnings) {
    console_warnings += root_finder_message(warning.problem) + '\n';
  }
  EXPECT_EQ(dialogue.console,
            "Please input the control file name\n" + console_warnings + "press return to exit program\n");

}

INSTANTIATE_TEST_SUITE_P(Cases, GeneratedCase, ::testing::ValuesIn(case_names()),
                         [](const auto& info) { return test_name_of(info.param); });

}  // namespace
}  // namespace irteq::testing
