// The bundled example, run by the real binary: its report must match the
// golden copy byte for byte (so any change of a printed digit shows up in
// review), and its layout is checked line by line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/binary_run.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

const fs::path example = fs::path(IRTEQ_SOURCE_DIR) / "examples" / "spring-grade7";

std::string run_example(TempDir& folder) {
  for (const auto& entry : fs::directory_iterator(example)) {
    if (entry.path().filename() != "report.txt") fs::copy_file(entry.path(), folder / entry.path().filename().string());
  }
  const BinaryRun run = run_irteq(folder.path(), "control.txt\n\n");
  EXPECT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(run.console, "Please input the control file name\npress return to exit program\n");
  return read_file(folder / "report.txt");
}

TEST(BundledExample, ReportMatchesTheGoldenCopy) {
  TempDir folder;
  const std::string report = run_example(folder);
  const std::string golden = read_file(fs::path(IRTEQ_SOURCE_DIR) / "tests" / "end_to_end" / "golden" / "spring-grade7.report");
  EXPECT_TRUE(report == golden) << "the bundled example's report changed; if the change is intended, explain it and "
                                   "copy the new report over tests/end_to_end/golden/spring-grade7.report";
}

// Lines of a report; every one must end in CR LF.
std::vector<std::string> report_lines(const std::string& report) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < report.size()) {
    const std::size_t end = report.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "the report's last line has no CR LF";
    if (end == std::string::npos) break;
    lines.push_back(report.substr(start, end - start));
    EXPECT_EQ(lines.back().find('\n'), std::string::npos) << "a bare line feed in line " << lines.size();
    start = end + 2;
  }
  return lines;
}

// From the heading on: `empty` empty lines, then the block's own lines (header and rows) of one width.
std::size_t expect_block(const std::vector<std::string>& lines, std::size_t at, const std::vector<std::string>& heading,
                         std::size_t rows, std::size_t width) {
  for (const std::string& line : heading) {
    EXPECT_EQ(lines.at(at), line) << "line " << at + 1;
    ++at;
  }
  for (std::size_t row = 0; row < rows; ++row, ++at) {
    EXPECT_EQ(lines.at(at).size(), width) << "line " << at + 1 << ": " << lines.at(at);
    EXPECT_EQ(lines.at(at).find('*'), std::string::npos) << "line " << at + 1 << ": " << lines.at(at);
  }
  return at;
}

TEST(BundledExample, ReportLayoutLineByLine) {
  TempDir folder;
  const std::vector<std::string> lines = report_lines(run_example(folder));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "form y input");
  std::size_t at = 0;
  while (at < lines.size() && lines[at] != "true score equating output") ++at;
  ASSERT_GE(at, 2u);
  at -= 2;
  // Form X scores 0 to 56, form Y 0 to 54.
  const std::size_t nx = 57;
  const std::size_t ny = 55;
  at = expect_block(lines, at, {"", "", "true score equating output", "", "x-raw   theta       y-equiv     scale     rounded"}, nx, 46);
  at = expect_block(lines, at,
                    {"", "", "observed score equating output", "", "marginal distribution form y", "",
                     "y-raw     grp 1       grp 2       grp s"},
                    ny, 40);
  at = expect_block(lines, at, {"", "", "marginal distribution form x", "", "x-raw     grp 1       grp 2       grp s"},
                    nx, 40);
  at = expect_block(lines, at, {"", "", "observed score equivalents", "", "x-raw    y-equiv     scale    rounded"}, nx, 34);
  const std::string moments_header = " group  score  mean        sd     skew    kurt";
  at = expect_block(lines, at, {"", "", "raw score moments", "", moments_header}, 8, 48);
  at = expect_block(lines, at, {"", "", "scale score moments", "", moments_header}, 3, 48);
  at = expect_block(lines, at, {"", "", "rounded scale score moments", "", moments_header}, 3, 48);
  EXPECT_EQ(at, lines.size()) << "the rounded scale score moments end the report";
  EXPECT_EQ(lines.back().substr(0, 12), "   1  obquiv");
}

}  // namespace
}  // namespace irteq::testing
