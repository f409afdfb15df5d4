// The control file, through the real binary: six keyword records in any
// order, matched exactly, the later of two records winning.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "input/control_records.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "support/binary_run.hpp"
#include "support/small_case.hpp"

namespace irteq::testing {
namespace {

TEST(ControlFile, RecordsInAnyOrderGiveTheSameReport) {
  SmallCase in_slot_order;
  ASSERT_EQ(in_slot_order.run().exit_status, 0);
  SmallCase shuffled;
  shuffled.set("control.txt",
               "new_quad g1.qd\nraw2scale,y.scl\n'old_quad  ' g2.qd\n\"output\" report.txt\nnew_para x.par / rest\n"
               "old_para\ty.par  ! comment\n");
  const BinaryRun run = shuffled.run();
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(shuffled.report(), in_slot_order.report());
}

TEST(ControlFile, TakesQuotedNamesWithBlanksAndNamesFromTheNextLine) {
  SmallCase c;
  c.set("form y.par", SmallCase::two_items);
  c.set("control.txt",
        "output 'my report.txt'\nold_para\n\"form y.par\" ignored words\nold_quad g2.qd\nraw2scale y.scl\n"
        "new_para x.par\nnew_quad g1.qd\n");
  const BinaryRun run = c.run();
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_TRUE(c.exists("my report.txt"));
}

TEST(ControlFile, LaterRecordWinsAndUnknownKeywordsTakeARecord) {
  SmallCase c;
  c.set("control.txt", "old_para first.par\nmy_para skipped.par\nold_para second.par\n"
                       "'new_quad  ' g1.qd\noutput  report.txt  \nOld_quad g2.qd\nold_quad never.qd\n");
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(c.folder().path());
  std::string message;
  try {
    read_control_records("control.txt");
  } catch (const Error& error) {
    message = error.what();
  }
  std::filesystem::current_path(here);
  // "Old_quad" is not a keyword, and the seventh record is not read.
  EXPECT_EQ(message, "control.txt: no record names the keyword(s) old_quad, raw2scale, new_para");
}

TEST(ControlFile, SeventhRecordHasNoEffect) {
  SmallCase c;
  c.set("control.txt", "output report.txt\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para x.par\n"
                       "new_quad g1.qd\noutput other.txt\n");
  ASSERT_EQ(c.run().exit_status, 0);
  EXPECT_TRUE(c.exists("report.txt"));
  EXPECT_FALSE(c.exists("other.txt"));
}

TEST(ControlFile, MissingKeywordsStopTheRunBeforeAnyFileIsOpened) {
  SmallCase c;
  // Keywords match case-sensitively: "Output" and "OLD_QUAD" are skipped.
  c.set("control.txt", "Output report.txt\nold_para y.par\nOLD_QUAD g2.qd\nraw2scale y.scl\nnew_para x.par\n"
                       "new_quad g1.qd\n");
  const BinaryRun run = c.run();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: control.txt: no record names the keyword(s) output, old_quad\n");
  EXPECT_FALSE(c.exists("report.txt"));
  EXPECT_EQ(run.console, "Please input the control file name\n");
}

TEST(ControlFile, EndsTheRunWhenItEndsBeforeSixRecords) {
  SmallCase c;
  c.set("control.txt", "output report.txt\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para\n");
  const BinaryRun run = c.run();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "irteq: control.txt line 5: end of file after 4 of the six keyword records\n");
}

// A common_items record may stand among the six without taking a record's
// place, or after them among lines that are no records; the later of two wins.
TEST(ControlFile, FindsTheCommonItemsRecordAmongAndAfterTheSix) {
  const std::string six = "output report.txt\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para x.par\n";
  struct Case {
    std::string control;
    std::string common_items;
  };
  for (const Case& c : {Case{six + "new_quad g1.qd\n", ""},
                        Case{"common_items a.txt\n" + six + "new_quad g1.qd\n", "a.txt"},
                        Case{six + "common_items 'b c.txt'\nnew_quad g1.qd\n", "b c.txt"},
                        Case{six + "new_quad g1.qd\nnot a record, 'unclosed\n\ncommon_items d.txt\n", "d.txt"},
                        Case{"common_items a.txt\n" + six + "new_quad g1.qd\ncommon_items e.txt\n", "e.txt"},
                        Case{six + "new_quad g1.qd\nCommon_items f.txt\n", ""}}) {
    SCOPED_TRACE(c.control);
    SmallCase run;
    run.set("control.txt", c.control);
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(run.folder().path());
    const ControlFile files = read_control_records("control.txt");
    std::filesystem::current_path(here);
    EXPECT_EQ(files.common_items, c.common_items);
    EXPECT_EQ(files.new_quad, "g1.qd");
  }
}

// read_run reads the cut scores a control file names, after form X's files,
// as written: they are the run's to check. read_inputs leaves them unread.
TEST(ControlFile, ACutScoresRecordIsReadWithTheRun) {
  SmallCase c;
  c.set("control.txt", "cut_scores levels/cuts.txt\noutput report.txt\nold_para y.par\nold_quad g2.qd\n"
                       "raw2scale y.scl\nnew_para x.par\nnew_quad g1.qd\n");
  std::filesystem::create_directory(c.folder() / "levels");
  c.set("levels/cuts.txt", "levels\n15 'pass'\n");
  const ControlFile files = read_control(c.folder() / "control.txt");
  std::string echo;
  const RunInput run = read_run(files, {.echo = [&](std::string_view line) { echo.append(line).append("\n"); },
                                        .warning = {}});
  ASSERT_TRUE(run.cut_scores.has_value());
  EXPECT_EQ(run.cut_scores->name, (c.folder() / "levels" / "cuts.txt").string());
  EXPECT_EQ(run.cut_scores->cuts, std::vector<double>{15});
  EXPECT_EQ(run.cut_scores->levels, (std::vector<std::string>{"1", "pass"}));
  EXPECT_EQ(run.files.back().role, "cut_scores");
  EXPECT_TRUE(echo.ends_with("cut score file as read in\n\nlevels" + std::string(73, ' ') + "\n          15  \"pass\"\n"))
      << echo;
  EXPECT_LT(echo.find("form x input"), echo.find("cut score file as read in"));
  EXPECT_NO_THROW(read_inputs(files));
}

// Unquoted names run to the next blank, tab or comma, slashes and all: they
// read exactly as the same names quoted.
TEST(ControlFile, ReadsUnquotedPathsAsQuotedOnes) {
  const auto control = [](const std::string& folder, const std::string& quote) {
    const char* separators[] = {" ", ",", "\t", " , "};
    std::string text;
    int record = 0;
    for (const char* keyword : {"output", "old_para", "common_items", "old_quad", "raw2scale", "new_para", "new_quad",
                                "cut_scores"}) {
      text += std::string(keyword) + separators[record++ % 4] + quote + folder + keyword + ".txt" + quote + " / rest\n";
    }
    return text;
  };
  for (const std::string folder : {"/data/spring/", "data/", "C:/tests/", "../"}) {
    SCOPED_TRACE(folder);
    TempDir dir;
    write_file(dir / "unquoted.txt", control(folder, ""));
    write_file(dir / "quoted.txt", control(folder, "'"));
    const ControlFile unquoted = read_control_records((dir / "unquoted.txt").string());
    EXPECT_EQ(unquoted, read_control_records((dir / "quoted.txt").string()));
    EXPECT_EQ(unquoted.new_quad, folder + "new_quad.txt");
    EXPECT_EQ(unquoted.common_items, folder + "common_items.txt");
    EXPECT_EQ(unquoted.cut_scores, folder + "cut_scores.txt");
  }
}

}  // namespace
}  // namespace irteq::testing
