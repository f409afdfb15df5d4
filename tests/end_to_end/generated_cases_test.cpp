// The generated cases: each folder is a complete run whose report and console
// output an independent implementation produced. Every way of running irteq
// must match them byte for byte: the dialogue, batch mode (from another
// folder, with standard input closed or an open pipe) and the library; and
// batch mode's CSV files must hold the very doubles behind the report.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "common/kernel_path.hpp"
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

using Table = std::vector<std::vector<std::string>>;

// The rows of a CSV file after its header, which must be the one given.
Table csv_rows(const fs::path& path, const std::string& header) {
  std::istringstream in(read_file(path));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, header) << path;
  Table rows;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1) {
      fields.push_back(line.substr(start, comma - start));
    }
    fields.push_back(line.substr(start));
    rows.push_back(fields);
  }
  return rows;
}

// A CSV number must read back to exactly the double behind it.
void expect_same_double(const std::string& text, double value, const std::string& where) {
  double read = 0.0;
  if (text == "NaN") {
    read = std::numeric_limits<double>::quiet_NaN();
  } else if (text == "Inf" || text == "-Inf") {
    read = text == "Inf" ? HUGE_VAL : -HUGE_VAL;
  } else {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    ASSERT_TRUE(error == std::errc{} && end == text.data() + text.size()) << where << ": '" << text << "'";
  }
  EXPECT_TRUE(read == value || (std::isnan(read) && std::isnan(value))) << where << ": " << text << " vs " << value;
}

void expect_csv_holds(const fs::path& folder, const EquatingResult& result) {
  const Table equivalents = csv_rows(folder / "equivalents.csv",
                                     "raw,theta,true_equivalent,true_scale,true_rounded,observed_equivalent,"
                                     "observed_scale,observed_rounded");
  const TrueScoreEquating& t = result.true_score;
  const ObservedScoreEquating& o = result.observed_score;
  ASSERT_EQ(equivalents.size(), result.x.raw_scores.size());
  for (std::size_t i = 0; i < equivalents.size(); ++i) {
    const std::vector<std::string>& row = equivalents[i];
    ASSERT_EQ(row.size(), 8u);
    const std::vector<double> values{result.x.raw_scores[i], t.thetas[i], t.equivalents[i], t.scale[i],
                                     t.rounded[i], o.equivalents[i], o.scale[i], o.rounded[i]};
    for (std::size_t k = 0; k < row.size(); ++k) {
      if (k == 1 && t.theta_kinds[i] != ThetaKind::searched) {
        EXPECT_EQ(row[k], "") << "theta of a point without a search, row " << i;
      } else {
        expect_same_double(row[k], values[k], "equivalents.csv row " + std::to_string(i));
      }
    }
  }
  const Table distributions = csv_rows(folder / "distributions.csv", "form,raw,group1,group2,synthetic");
  ASSERT_EQ(distributions.size(), result.x.raw_scores.size() + result.y.raw_scores.size());
  for (std::size_t i = 0; i < distributions.size(); ++i) {
    const bool x = i < result.x.raw_scores.size();
    const FormDistributions& d = x ? result.x : result.y;
    const std::size_t at = x ? i : i - result.x.raw_scores.size();
    EXPECT_EQ(distributions[i][0], x ? "X" : "Y");
    const std::vector<double> values{d.raw_scores[at], d.group1[at], d.group2[at], d.synthetic[at]};
    for (std::size_t k = 0; k < values.size(); ++k) {
      expect_same_double(distributions[i][k + 1], values[k], "distributions.csv row " + std::to_string(i));
    }
  }
  const Table moments = csv_rows(folder / "moments.csv", "block,group,score,mean,sd,skewness,kurtosis");
  // The report's fourteen rows in its order, in the CSV's words.
  const char* const labels[] = {"raw 1 X",        "raw 2 X",         "raw s X",         "raw 1 Y",
                                "raw 2 Y",        "raw s Y",         "raw 1 true",      "raw 1 observed",
                                "scale 2 Y",      "scale 1 true",    "scale 1 observed", "rounded 2 Y",
                                "rounded 1 true", "rounded 1 observed"};
  ASSERT_EQ(moments.size(), std::size(labels));
  ASSERT_EQ(result.moments.size(), std::size(labels));
  for (std::size_t i = 0; i < moments.size(); ++i) {
    EXPECT_EQ(moments[i][0] + ' ' + moments[i][1] + ' ' + moments[i][2], labels[i]);
    const Moments& m = result.moments[i].moments;
    const std::vector<double> values{m.mean, m.sd, m.skewness, m.kurtosis};
    for (std::size_t k = 0; k < values.size(); ++k) {
      expect_same_double(moments[i][k + 3], values[k], "moments.csv row " + std::to_string(i));
    }
  }
}

// The root finder's lines of standard error. The cases are written in every
// layout the input formats allow, suspicious ones too (numbers after the
// values of a read, titles of digits, a raw column that does not match): the
// other lines must be warnings.
std::string root_finder_lines(const std::string& errors) {
  std::istringstream lines(errors);
  std::string root_finder;
  for (std::string line; std::getline(lines, line);) {
    if (line.find("zbrent") != std::string::npos) {
      root_finder += line + '\n';
    } else {
      EXPECT_TRUE(line.starts_with("irteq: warning: ")) << line;
    }
  }
  return root_finder;
}

// IRTEQ_KERNEL set for the programs this test starts, for the life of the object.
class ForcedKernel {
 public:
  explicit ForcedKernel(KernelPath path) { setenv("IRTEQ_KERNEL", std::string(kernel_path_name(path)).c_str(), 1); }
  ~ForcedKernel() { unsetenv("IRTEQ_KERNEL"); }
  ForcedKernel(const ForcedKernel&) = delete;
  ForcedKernel& operator=(const ForcedKernel&) = delete;
};

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
  EXPECT_EQ(root_finder_lines(dialogue.errors), "");
  EXPECT_EQ(dialogue.console, read_file(source / "expected" / "console.txt"));
  EXPECT_TRUE(read_file(report_name) == expected) << "the dialogue's report differs from expected/report";

  // The library: the same echo and results from the input in memory, on one thread and on three.
  std::string report;
  const LineSink lines = [&](std::string_view line) { report.append(line).append("\r\n"); };
  const EquatingInput input = read_control_file(folder / "control.txt", {.echo = lines, .warning = {}});
  const std::string echo = report;
  const EquatingResult result = equate(input);
  write_report(result, lines);
  EXPECT_TRUE(report == expected) << "the library's report differs from expected/report";
  report = echo;
  write_report(equate(input, {.threads = 3}), lines);
  EXPECT_TRUE(report == expected) << "the library's report on three threads differs from expected/report";

  // The root finder's warnings: the console's lines with pauses, batch mode's lines on standard error.
  std::string console_warnings;
  std::string batch_warnings;
  for (const RootFinderWarning& warning : result.warnings) {
    console_warnings += root_finder_message(warning.problem) + '\n';
    batch_warnings += "irteq: warning: " + warning_message(warning) + '\n';
  }
  EXPECT_EQ(dialogue.console,
            "Please input the control file name\n" + console_warnings + "press return to exit program\n");

  // Batch mode on one thread and on two, each distribution kernel this
  // processor runs forced in turn.
  TempDir elsewhere;
  for (const KernelPath kernel : {KernelPath::baseline, KernelPath::avx2, KernelPath::avx512}) {
    if (!kernel_path_supported(kernel)) continue;
    const ForcedKernel forced(kernel);
    for (const BatchInput batch_input : {BatchInput::closed, BatchInput::open_pipe}) {
      const std::string threads = batch_input == BatchInput::closed ? "1" : "2";
      fs::remove(report_name);
      const BinaryRun batch = run_irteq_batch(
          elsewhere.path(), {(folder / "control.txt").string(), "--csv", "results", "--threads", threads}, batch_input);
      const std::string way = std::string(kernel_path_name(kernel)) + " kernel, " + threads + " thread(s)";
      EXPECT_EQ(batch.exit_status, 0) << way << ": " << batch.errors;
      EXPECT_EQ(batch.console, "");
      EXPECT_EQ(root_finder_lines(batch.errors), batch_warnings) << way;
      EXPECT_TRUE(read_file(report_name) == expected) << "batch mode's report differs from expected/report: " << way;
    }
  }
  expect_csv_holds(elsewhere / "results", result);
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneratedCase, ::testing::ValuesIn(case_names()),
                         [](const auto& info) { return test_name_of(info.param); });

}  // namespace
}  // namespace irteq::testing
