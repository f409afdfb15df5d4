// Batch mode through the real binary: the command line, names resolved
// against the control file's folder, warnings on standard error, CSV
// folders that cannot be written, and the run's record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/small_case.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

TEST(RunBatch, CommandLineUsageAndExitStatus) {
  SmallCase c;
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* console_holds;
    const char* errors;
  } const cases[] = {
      {{"--help"}, 0, "Usage: irteq\n", ""},
      {{"control.txt", "--help"}, 0, "Exit status:", ""},
      {{"--version"}, 0, "irteq 2.", ""},
      {{"--bogus"}, 2, "", "irteq: unknown option --bogus\nTry 'irteq --help' for more information.\n"},
      {{"control.txt", "--csv"}, 2, "", "irteq: the option --csv needs a folder\nTry 'irteq --help' for more information.\n"},
      {{"control.txt", "other.txt"}, 2, "",
       "irteq: more than one control file: control.txt and other.txt\nTry 'irteq --help' for more information.\n"},
      {{"--csv", "out"}, 2, "", "irteq: no control file was given\nTry 'irteq --help' for more information.\n"},
      {{"missing.txt"}, 1, "", "irteq: cannot open control file missing.txt: No such file or directory\n"},
      {{"control.txt"}, 0, "", ""},
      {{"--", "control.txt"}, 0, "", ""},
      {{"--strict", "control.txt"}, 0, "", ""},
      {{"--help"}, 0, "  --strict ", ""},
      {{"control.txt", "--threads", "3"}, 0, "", ""},
      {{"--threads=1", "control.txt"}, 0, "", ""},
      {{"control.txt", "--threads"}, 2, "",
       "irteq: the option --threads needs a number\nTry 'irteq --help' for more information.\n"},
      {{"control.txt", "--threads=0"}, 2, "",
       "irteq: the option --threads needs a positive whole number, not '0'\nTry 'irteq --help' for more information.\n"},
      {{"control.txt", "--threads", "2x"}, 2, "",
       "irteq: the option --threads needs a positive whole number, not '2x'\nTry 'irteq --help' for more "
       "information.\n"},
      {{"control.txt", "--draws", "0"}, 2, "",
       "irteq: the option --draws needs a positive whole number, not '0'\nTry 'irteq --help' for more information.\n"},
      {{"control.txt", "--seed=-1"}, 2, "",
       "irteq: the option --seed needs a whole number of at least 0, not '-1'\nTry 'irteq --help' for more "
       "information.\n"},
      {{"control.txt", "--root-tolerance", "1e-14"}, 0, "", ""},
      {{"control.txt", "--tables"}, 0, "", ""},
      {{"control.txt", "--root-tolerance=0"}, 2, "",
       "irteq: the option --root-tolerance: root_tolerance is 0; the theta tolerance of true score equating must lie "
       "above 0 and at most 1e-06\nTry 'irteq --help' for more information.\n"},
      {{"control.txt", "--root-tolerance", "2e-6"}, 2, "",
       "irteq: the option --root-tolerance: root_tolerance is 2e-06; the theta tolerance of true score equating must "
       "lie above 0 and at most 1e-06\nTry 'irteq --help' for more information.\n"},
      {{"control.txt", "--root-tolerance", "1e-6x"}, 2, "",
       "irteq: the option --root-tolerance needs a number, not '1e-6x'\nTry 'irteq --help' for more information.\n"},
      {{"control.txt", "--se"}, 1, "",
       "irteq: standard errors need the estimates' covariance: the control file names neither new_cov nor "
       "old_cov\n"},
  };
  for (const Case& k : cases) {
    const BinaryRun run = run_irteq_batch(c.folder().path(), k.arguments);
    const std::string what = k.arguments.front() + (k.arguments.size() > 1 ? " " + k.arguments[1] : "");
    EXPECT_EQ(run.exit_status, k.status) << what;
    EXPECT_NE(run.console.find(k.console_holds), std::string::npos) << what << ": " << run.console;
    EXPECT_EQ(run.errors, k.errors) << what;
  }
}

// A control file in a folder with a blank in its name, naming one file
// relative to itself, one absolute, and one with a blank, run from elsewhere
// by a relative path: the same report as the dialogue run in that folder.
TEST(RunBatch, NamesResolveAgainstTheControlFilesFolder) {
  SmallCase c;
  const fs::path folder = c.folder() / "my forms";
  fs::create_directory(folder);
  for (const char* name : {"y.par", "g1.qd", "g2.qd", "y.scl"}) fs::copy_file(c.folder() / name, folder / name);
  fs::copy_file(c.folder() / "x.par", folder / "form x.par");
  c.set("my forms/control.txt", "output 'the report.txt'\nold_para y.par\nold_quad '" + (folder / "g2.qd").string() +
                                    "'\nraw2scale y.scl\nnew_para 'form x.par'\nnew_quad g1.qd\n");
  ASSERT_EQ(c.run("my forms/control.txt\n\n").exit_status, 1) << "the dialogue resolves against the current folder";
  const BinaryRun dialogue = run_irteq(folder, "control.txt\n\n");
  ASSERT_EQ(dialogue.exit_status, 0) << dialogue.errors;
  const std::string expected = read_file(folder / "the report.txt");
  fs::remove(folder / "the report.txt");

  TempDir elsewhere;
  const fs::path relative = fs::relative(folder / "control.txt", elsewhere.path());
  const BinaryRun batch = run_irteq_batch(elsewhere.path(), {relative.string()}, BatchInput::open_pipe);
  EXPECT_EQ(batch.exit_status, 0) << batch.errors;
  EXPECT_EQ(batch.console, "");
  EXPECT_TRUE(read_file(folder / "the report.txt") == expected);
}

// Form X's second item has unreachable top categories, so at theta 8 its
// expected score stays near 2 and the searches for raw scores 2 and 3 fail.
TEST(RunBatch, RootFinderWarningsAreLinesOnStandardError) {
  SmallCase c;
  c.set("x.par", "1 two items\n1 L3 2\n0 1\n1.7 1.0 0.0 0.2\n2 SN 3\n0 1 2\n1.0 0.0 20.0\n3 L3 2\n0 1\n1.7 1 0 0\n");
  const BinaryRun dialogue = c.run("control.txt\n\n\n\n");
  ASSERT_EQ(dialogue.exit_status, 0) << dialogue.errors;
  EXPECT_EQ(dialogue.console, "Please input the control file name\nroot must be bracketed for zbrent\n"
                              "press return to exit program\n");
  const std::string expected = c.report();

  // They are results, not warnings about an input: --strict leaves them warnings.
  for (const bool strict : {false, true}) {
    const BinaryRun batch = run_irteq_batch(c.folder().path(), strict ? std::vector<std::string>{"control.txt", "--strict"}
                                                                      : std::vector<std::string>{"control.txt"},
                                            BatchInput::open_pipe);
    EXPECT_EQ(batch.exit_status, 0);
    EXPECT_EQ(batch.errors, "irteq: warning: form X raw score 3: root must be bracketed for zbrent; theta 8\n");
    EXPECT_TRUE(c.report() == expected);
  }
}

TEST(RunBatch, FailuresEndWithStatus1AndKeepTheReport) {
  SmallCase c;
  c.set("blocker", "a file where the CSV folder should go\n");
  BinaryRun run = run_irteq_batch(c.folder().path(), {"control.txt", "--csv", "blocker/results"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_NE(run.errors.find("irteq: cannot create the CSV folder blocker/results: "), std::string::npos) << run.errors;
  EXPECT_NE(c.report().find("rounded scale score moments"), std::string::npos) << "the report is complete";

  c.set("y.par", "1 t\n1 L3 2\n0 1\n1.7 1 0 0.2\n3 XX 2\n0 1\n1 2 3\n");
  run = run_irteq_batch(c.folder().path(), {"control.txt"}, BatchInput::open_pipe);
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.console, "");
  EXPECT_EQ(run.errors, "irteq: y.par line 5: item 2 (number 3, XX, 2 categories): unknown item type code 'XX'; the codes are L3, SN, SL, BN and MU\n");
  const std::string report = c.report();
  EXPECT_EQ(report.substr(report.size() - 27), "bad item type read in: XX\r\n");
}

// The CSV files are renamed into place once complete, leaving nothing else
// in the folder; when one cannot be put in place (a folder bears its name),
// none is left, an earlier run's included.
TEST(RunBatch, CsvFilesAreReplacedWholeOrRemoved) {
  SmallCase c;
  ASSERT_EQ(run_irteq_batch(c.folder().path(), {"control.txt", "--csv", "out"}).exit_status, 0);
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(c.folder() / "out")) names.insert(entry.path().filename());
  EXPECT_EQ(names, (std::set<std::string>{"distributions.csv", "equivalents.csv", "moments.csv", "run.csv"}));

  fs::remove(c.folder() / "out" / "moments.csv");
  fs::create_directories(c.folder() / "out" / "moments.csv" / "inside");
  const BinaryRun run = run_irteq_batch(c.folder().path(), {"control.txt", "--csv", "out"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(run.errors.starts_with("irteq: cannot rename a temporary file to out/moments.csv: ")) << run.errors;
  EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
  names.clear();
  for (const auto& entry : fs::directory_iterator(c.folder() / "out")) names.insert(entry.path().filename());
  EXPECT_EQ(names, (std::set<std::string>{"moments.csv"})) << "only the folder in the way is left";
}

// The fields of a CSV line, quoted ones unquoted.
std::vector<std::string> csv_fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += line[++i];
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += line[i];
    }
  }
  return fields;
}

std::string sha256sum(const fs::path& file) {
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("sha256sum < '" + file.string() + "'").c_str(), "r"), pclose);
  char digest[65] = {};
  if (!pipe || std::fread(digest, 1, 64, pipe.get()) != 64) return "no sha256sum";
  return digest;
}

// run.csv of a linked run with standard errors, its control file's name
// holding a comma and quotes: every input file with its size and the
// sha256sum tool's digest; a second run differs in its time alone.
TEST(RunBatch, RunCsvRecordsEveryInputFile) {
  TempDir folder;
  fs::copy(fs::path(IRTEQ_SOURCE_DIR) / "examples" / "linked-grade7", folder / "forms");
  const std::string control = "forms/run 7, \"linked\".txt";
  fs::rename(folder / "forms" / "control.txt", folder / control);
  std::vector<std::string> runs;
  for (int run = 0; run < 2; ++run) {
    const BinaryRun batch = run_irteq_batch(folder.path(), {control, "--se", "--csv", "out", "--threads", "1"});
    ASSERT_EQ(batch.exit_status, 0) << batch.errors;
    runs.push_back(read_file(folder / "out" / "run.csv"));
  }
  EXPECT_EQ(std::count(runs[0].begin(), runs[0].end(), '\n'), std::count(runs[1].begin(), runs[1].end(), '\n'));
  std::istringstream first(runs[0]), second(runs[1]);
  std::vector<std::string> roles;
  for (std::string a, b; std::getline(first, a) && std::getline(second, b);) {
    const std::vector<std::string> row = csv_fields(a);
    ASSERT_EQ(row.size(), 6u) << a;
    if (row[0] == "time") {
      EXPECT_EQ(row[2].size(), 20u) << a;  // 2025-01-31T09:05:00Z
      continue;
    }
    EXPECT_EQ(a, b);
    if (row[0] == "front_end") {
      EXPECT_EQ(row[2], "irteq 'forms/run 7, \"linked\".txt' --se --csv out --threads 1");
    }
    if (row[0] != "input") continue;
    roles.push_back(row[1]);
    const fs::path file = folder.path() / row[2];
    EXPECT_EQ(row[3], fs::canonical(file).string());
    EXPECT_EQ(row[4], std::to_string(fs::file_size(file)));
    EXPECT_EQ(row[5], sha256sum(file)) << row[2];
  }
  EXPECT_EQ(roles, (std::vector<std::string>{"control", "old_para", "old_quad", "raw2scale", "new_para", "new_quad",
                                             "common_items", "new_cov", "old_cov"}));
}

}  // namespace
}  // namespace irteq::testing
