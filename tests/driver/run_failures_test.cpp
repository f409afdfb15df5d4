// How a run ends when something is wrong: a clear message on standard error,
// exit status 1, and a report that keeps everything written before.
#include <gtest/gtest.h>

#include <string>

#include "support/small_case.hpp"

namespace irteq::testing {
namespace {

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(RunFailures, ConsoleNameMissingOrWrong) {
  SmallCase c;
  BinaryRun run = c.run("");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: no control file name: the console input ended\n");
  run = c.run("   \n");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: no control file name was given\n");
  run = c.run("nope.txt\n");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: cannot open control file nope.txt: No such file or directory\n");
  run = c.run(std::string(std::size_t{1} << 20, 'c') + "c\n");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: the console line is longer than 1048576 characters (1 MiB)\n");
}

TEST(RunFailures, MissingInputFileKeepsTheReportWrittenSoFar) {
  SmallCase c;
  c.set("control.txt", "output report.txt\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para gone.par\n"
                       "new_quad g1.qd\n");
  const BinaryRun run = c.run();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: cannot open item parameter file gone.par: No such file or directory\n");
  EXPECT_EQ(run.console, "Please input the control file name\n");
  const std::string report = c.report();
  EXPECT_EQ(report.substr(0, 14), "form y input\r\n");
  EXPECT_TRUE(ends_with(report, "\r\n\r\nform x input\r\n\r\nitem parameter file as read in\r\n")) << report;
}

TEST(RunFailures, ReadErrorsNameFileLineAndWhatWasExpected) {
  struct Case {
    const char* file;
    const char* content;
    const char* error;
  } const cases[] = {
      {"x.par", "1 t\n1 L3 2\n0 1\n1.7 1.0 abc 0.2\n", "irteq: x.par line 4: item 1 (number 1, L3, 2 categories): parameters: expected a number, found 'abc'\n"},
      {"x.par", "1 t\n1 L3 2\n0\n", "irteq: x.par line 3: item 1 (number 1, L3, 2 categories): category scores: the file ends before all 2 were read\n"},
      {"g2.qd", "t\n-1 1\n0 x\n", "irteq: g2.qd line 3: expected a number, found 'x'\n"},
      {"y.scl", "t\n10.0 30 0.5\n", "irteq: y.scl line 2: expected an integer, found '10.0'\n"},
  };
  for (const Case& failure : cases) {
    SmallCase c;
    c.set(failure.file, failure.content);
    const BinaryRun run = c.run();
    EXPECT_EQ(run.exit_status, 1) << failure.file;
    EXPECT_EQ(run.errors, failure.error);
    EXPECT_FALSE(c.report().empty());
  }
}

TEST(RunFailures, AWriteErrorOnTheReportIsAFailure) {
  SmallCase c;
  c.set("control.txt", "output '/dev/full'\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para x.par\n"
                       "new_quad g1.qd\n");
  const BinaryRun run = c.run();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: cannot write report file /dev/full: No space left on device\n");
}

TEST(RunFailures, UnknownItemTypeStopsAfterThePauseWithStatus1) {
  SmallCase c;
  c.set("y.par", "1 t\n1 L3 2\n0 1\n1.7 1 0 0.2\n3 XX 2\n0 1\n1 2 3\n");
  const BinaryRun run = c.run("control.txt\n");  // the pause meets the end of input
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.console, "Please input the control file name\npress return to exit program\n");
  EXPECT_EQ(run.errors, "irteq: y.par line 5: item 2 (number 3, XX, 2 categories): unknown item type code 'XX'; the codes are L3, SN, SL, BN and MU\n");
  EXPECT_TRUE(ends_with(c.report(), "    3  XX    2\r\n            0           1\r\nbad item type read in: XX\r\n"));
}

TEST(RunFailures, FormsBeyondTheScorePointsOrTheScaleTable) {
  SmallCase c;
  c.set("y.par", "1 t\n1 SN 2\n0 600\n1.0 0.0\n2 SN 2\n0 600\n1.0 0.5\n");
  BinaryRun run = c.run();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors,
            "irteq: y.par: form Y has raw scores from 0 to 1200, 1201 score points; a form may have at most 1000\n");

  SmallCase short_table;
  short_table.set("y.scl", "scale\n10 30 0.5\n0 10 10\n1 20 20\n");
  run = short_table.run();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: y.scl has 2 rows, but form Y has 3 score points; it needs one row for each\n");
  // Both forms are read and echoed before the check.
  EXPECT_TRUE(ends_with(short_table.report(), "  1.000000  1.000000\r\n"));
}

TEST(RunFailures, TheReportMayNotOverwriteAnInput) {
  SmallCase c;
  c.set("control.txt", "output './y.par'\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para x.par\nnew_quad g1.qd\n");
  BinaryRun run = c.run();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: control.txt: the report ./y.par is also the old_para file; it would be overwritten\n");
  EXPECT_EQ(c.report("y.par"), SmallCase::two_items);

  c.set("control.txt", "output control.txt\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para x.par\nnew_quad g1.qd\n");
  run = c.run();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: control.txt: the report control.txt is the control file itself\n");
}

TEST(RunFailures, AnExistingLongerReportIsReplacedWhole) {
  SmallCase c;
  c.set("report.txt", std::string(100000, 'x'));
  ASSERT_EQ(c.run().exit_status, 0);
  const std::string report = c.report();
  EXPECT_EQ(report.find('x' + std::string(10, 'x')), std::string::npos);
  EXPECT_EQ(report.substr(0, 14), "form y input\r\n");
}

}  // namespace
}  // namespace irteq::testing
