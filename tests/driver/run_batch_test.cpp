// Batch mode through the real binary: the command line, names resolved
// against the control file's folder, warnings on standard error, and CSV
// folders that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
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
  EXPECT_EQ(names, (std::set<std::string>{"distributions.csv", "equivalents.csv", "moments.csv"}));

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

}  // namespace
}  // namespace irteq::testing
