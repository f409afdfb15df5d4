// The bad-input corpus: each folder under bad_inputs/ is one run of the real
// binary on the files of bad_inputs/base with the folder's own files laid over
// them. Its expected.txt says how the run must end (see bad_inputs/README.md).
// Whatever the input, a run either completes with status 0, a whole report and
// nothing on standard error but warnings, or stops with status 1, one
// "irteq: " line on standard error after any warnings, and a report that
// keeps what was written before the stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/binary_run.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

const fs::path corpus = fs::path(IRTEQ_SOURCE_DIR) / "tests" / "end_to_end" / "bad_inputs";
const std::string default_console_input = "control.txt\n\n\n\n\n\n\n\n";
const std::string prompt = "Please input the control file name";
const std::string closing = "press return to exit program";

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string without_trailing_blanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// The console input of a case: \n, \r and \0 stand for a line feed, a carriage return and a NUL.
std::string unescaped(const std::string& text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : ' ';
    if (text[i] == '\\' && (next == 'n' || next == 'r' || next == '0')) {
      result += next == 'n' ? '\n' : next == 'r' ? '\r' : '\0';
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

struct Expectation {
  std::string directive;
  std::string argument;
};

std::vector<Expectation> expectations_of(const fs::path& file) {
  std::vector<Expectation> expectations;
  for (const std::string& line : lines_of(read_file(file))) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t blank = line.find(' ');
    if (blank == std::string::npos) {
      expectations.push_back({line, ""});
    } else {
      expectations.push_back({line.substr(0, blank), line.substr(blank + 1)});
    }
  }
  return expectations;
}

std::set<fs::path> files_under(const fs::path& folder) {
  std::set<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) files.insert(fs::relative(entry.path(), folder));
  return files;
}

// Lays base and then the case's own files (all but expected.txt) into folder.
void lay_out(const fs::path& case_folder, const fs::path& folder) {
  for (const fs::path& source : {corpus / "base", case_folder}) {
    for (const auto& entry : fs::directory_iterator(source)) {
      if (entry.path().filename() == "expected.txt") continue;
      fs::copy(entry.path(), folder / entry.path().filename(),
               fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
  }
}

std::string base_report() {
  static const std::string report = [] {
    TempDir folder;
    lay_out(corpus / "base", folder.path());
    run_irteq(folder.path(), default_console_input);
    return read_file(folder / "report.txt");
  }();
  return report;
}

std::vector<std::string> case_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.is_directory()) names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class BadInput : public ::testing::TestWithParam<std::string> {};

TEST_P(BadInput, EndsCleanly) {
  const fs::path case_folder = corpus / GetParam();
  ASSERT_TRUE(fs::exists(case_folder / "expected.txt")) << GetParam() << " has no expected.txt";
  const std::vector<Expectation> expectations = expectations_of(case_folder / "expected.txt");
  std::string console_input = default_console_input;
  int expected_status = -1;
  std::optional<std::vector<std::string>> batch_arguments;
  for (const Expectation& e : expectations) {
    if (e.directive == "status") expected_status = std::stoi(e.argument);
    if (e.directive == "stdin") console_input = unescaped(e.argument);
    if (e.directive == "batch") {
      std::istringstream words(e.argument);
      batch_arguments.emplace(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    }
  }
  ASSERT_TRUE(expected_status == 0 || expected_status == 1) << "expected.txt needs 'status 0' or 'status 1'";

  TempDir folder;
  lay_out(case_folder, folder.path());
  const std::set<fs::path> inputs = files_under(folder.path());
  const BinaryRun run =
      batch_arguments ? run_irteq_batch(folder.path(), *batch_arguments) : run_irteq(folder.path(), console_input);
  const bool has_report = fs::exists(folder / "report.txt");
  const std::string report = has_report ? read_file(folder / "report.txt") : "";
  const std::vector<std::string> report_lines = lines_of(report);
  const std::vector<std::string> console_lines = lines_of(run.console);

  // Warnings come first, one line each; only the case's own may appear.
  const std::vector<std::string> error_lines = lines_of(run.errors);
  std::string warnings;
  std::string errors;
  std::size_t warned = 0;
  for (const std::string& line : error_lines) {
    const bool warning = errors.empty() && line.starts_with("irteq: warning: ");
    (warning ? warnings : errors) += line + '\n';
    warned += warning ? 1 : 0;
  }
  std::size_t expected_warnings = 0;
  for (const Expectation& e : expectations) expected_warnings += e.directive == "warning" ? 1 : 0;
  if (expected_warnings == 0) {
    EXPECT_EQ(warnings, "") << "unexpected warnings";
  }

  // How every run ends, whatever its input.
  ASSERT_EQ(run.exit_status, expected_status) << "standard error: " << run.errors;
  if (expected_status == 0) {
    EXPECT_EQ(errors, "");
    // A complete report ends with the table of rounded scale score moments.
    ASSERT_GE(report_lines.size(), 6U) << "the report is not complete";
    const auto last = report_lines.end() - 6;
    EXPECT_EQ(last[0], "rounded scale score moments") << "the report is not complete";
    EXPECT_EQ(last[3].substr(0, 10), "   2     Y");
    EXPECT_EQ(last[4].substr(0, 12), "   1  trquiv");
    EXPECT_EQ(last[5].substr(0, 12), "   1  obquiv");
  } else {
    EXPECT_EQ(errors.rfind("irteq: ", 0), 0U) << run.errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << "the message must be one line: " << errors;
  }
  // Lines a person can read: no control characters copied from a file, and no screenful.
  for (const std::string& line : error_lines) {
    EXPECT_LE(line.size(), 1024U) << "the line is " << line.size() << " characters long";
    EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    })) << "the line holds control characters: " << line;
  }
  if (has_report) {
    EXPECT_TRUE(report.empty() || report.ends_with("\r\n")) << "the report's last line is cut short";
    std::size_t lone_line_feeds = 0;
    for (std::size_t i = 0; i < report.size(); ++i) {
      if (report[i] == '\n' && (i == 0 || report[i - 1] != '\r')) ++lone_line_feeds;
    }
    EXPECT_EQ(lone_line_feeds, 0U) << "every report line ends in CR LF";
  }
  // Batch mode writes nothing on the console.
  if (batch_arguments) {
    EXPECT_EQ(run.console, "");
  } else {
    ASSERT_FALSE(console_lines.empty());
    EXPECT_EQ(console_lines.front(), prompt);
    EXPECT_TRUE(run.console.ends_with("\n"));
  }
  for (const std::string& line : console_lines) {
    EXPECT_TRUE(line == prompt || line == closing || line == "root must be bracketed for zbrent" ||
                line == "zbrent exceeding maximum iterations")
        << "unexpected console line: " << line;
  }
  std::string console_last = expected_status == 0 ? closing : prompt;

  bool report_checked = false;
  bool error_checked = false;
  for (const Expectation& e : expectations) {
    const std::string& arg = e.argument;
    if (e.directive == "status" || e.directive == "stdin" || e.directive == "batch") {
      continue;
    } else if (e.directive == "absent") {
      EXPECT_FALSE(fs::exists(folder / arg)) << arg << " is left after the run";
    } else if (e.directive == "error") {
      error_checked = true;
      EXPECT_NE(errors.find(arg), std::string::npos) << "standard error: " << run.errors << "lacks: " << arg;
    } else if (e.directive == "warning") {
      EXPECT_NE(warnings.find(arg), std::string::npos) << "warnings: " << warnings << "lack: " << arg;
    } else if (e.directive == "warnings") {
      EXPECT_EQ(warned, std::stoul(arg)) << "warning lines: " << warnings;
    } else if (e.directive == "console-ends-with") {
      console_last = arg;
    } else if (e.directive == "no-report") {
      report_checked = true;
      EXPECT_EQ(files_under(folder.path()), inputs) << "the run left a file behind";
    } else if (e.directive == "report-ends-with") {
      report_checked = true;
      ASSERT_TRUE(has_report) << "no report.txt";
      ASSERT_FALSE(report_lines.empty()) << "report.txt is empty";
      EXPECT_EQ(without_trailing_blanks(report_lines.back()), without_trailing_blanks(arg));
    } else if (e.directive == "report-lines") {
      report_checked = true;
      EXPECT_EQ(report_lines.size(), std::stoul(arg)) << "lines in report.txt";
    } else if (e.directive == "report-contains") {
      report_checked = true;
      EXPECT_NE(report.find(arg), std::string::npos) << "report.txt lacks: " << arg;
    } else if (e.directive == "report-lacks") {
      EXPECT_EQ(report.find(arg), std::string::npos) << "report.txt holds: " << arg;
    } else if (e.directive == "report-same-as-base") {
      report_checked = true;
      EXPECT_TRUE(report == base_report()) << "report.txt differs from the report of base";
    } else {
      ADD_FAILURE() << "unknown directive in expected.txt: " << e.directive;
    }
  }
  if (!batch_arguments) {
    EXPECT_EQ(console_lines.back(), console_last);
  }
  EXPECT_TRUE(report_checked) << "expected.txt must say what the report holds";
  EXPECT_TRUE(error_checked || expected_status == 0) << "expected.txt must give the message on standard error";
}

INSTANTIATE_TEST_SUITE_P(Corpus, BadInput, ::testing::ValuesIn(case_names()),
                         [](const auto& info) { return test_name_of(info.param); });

}  // namespace
}  // namespace irteq::testing
