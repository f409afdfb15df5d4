#include "input/read_scale_table_file.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/run_error.hpp"
#include "support/binary_run.hpp"
#include "support/reader_echo.hpp"

namespace irteq {
namespace {

using testing::crlf;
using testing::echo_of_file;

std::string echo_of(const std::string& content, ScaleTable& table, double& w2) {
  return echo_of_file("y.scl", content, [&](const std::string& name, ReportFile& report) {
    read_scale_table_file(name, report, table, w2);
  });
}

TEST(ReadScaleTableFile, EchoesLimitsWeightAndRows) {
  auto table = std::make_unique<ScaleTable>();
  double w2 = 0;
  const std::string title = "Form Y raw-to-scale conversion";
  const std::string echo =
      echo_of(title + "\n100 130 0.5\n0 100.0 100\n1 101.2 101\n2 102.9 103\n", *table, w2);
  EXPECT_EQ(echo, crlf("\n\nraw-to-scale score equivalents file\n\n" + title + std::string(79 - title.size(), ' ') +
                       "\n"
                       "scale score minimum =  100\n"
                       "scale score maximum =  130\n"
                       "w2 =       0.5000\n"
                       "  raw        scale     rounded\n"
                       "   0.00000 100.00000 100.00000\n"
                       "   1.00000 101.20000 101.00000\n"
                       "   2.00000 102.90000 103.00000\n"));
  EXPECT_EQ(table->row_count, 3);
  EXPECT_EQ(table->scale_min, 100);
  EXPECT_EQ(table->scale_max, 130);
  EXPECT_EQ(w2, 0.5);
  EXPECT_EQ(table->scale[1], 101.2);
  EXPECT_EQ(table->rounded[2], 103.0);
}

TEST(ReadScaleTableFile, EndsTheTableAtAShortLastRow) {
  auto table = std::make_unique<ScaleTable>();
  double w2 = 0;
  const std::string echo = echo_of("t\n1\n2 0.25\n0 1 1\n1 2\n", *table, w2);
  EXPECT_EQ(table->row_count, 1);
  EXPECT_EQ(table->scale_max, 2);
  table = std::make_unique<ScaleTable>();
  EXPECT_EQ(echo_of("t\n1 2 0\n", *table, w2).substr(echo.find("  raw")), crlf("  raw        scale     rounded\n"));
  EXPECT_EQ(table->row_count, 0);
}

TEST(ReadScaleTableFile, RejectsBadLimitsAndTooManyRows) {
  struct Case {
    std::string content;
    const char* message;
  } const cases[] = {
      {"t\n100. 130 0.5\n", "y.scl line 2: expected an integer, found '100.'"},
      {"t\n100 130\n", "end of file before the scale score minimum, maximum and w2 were read"},
      {"t\n100 130\n1.5\n", "y.scl line 3: w2 is 1.5; the weight of group 2 must lie between 0 and 1"},
      {"t\n100 130 -0.25\n", "y.scl line 2: w2 is -0.25; the weight of group 2 must lie between 0 and 1"},
      {"t\n1 2 0.5\n" + std::string(1001, '\n').replace(0, 1001, [] {
         std::string rows;
         for (int k = 0; k <= max_score_points; ++k) rows += "1 1 1\n";
         return rows;
       }()),
       "line 1003: more than 1000 rows"},
  };
  for (const Case& c : cases) {
    auto table = std::make_unique<ScaleTable>();
    double w2 = 0;
    try {
      echo_of(c.content, *table, w2);
      ADD_FAILURE() << c.message << ": accepted";
    } catch (const RunError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace irteq
