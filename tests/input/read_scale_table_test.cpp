#include <gtest/gtest.h>

#include <string>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "support/binary_run.hpp"
#include "support/reader_echo.hpp"

namespace irteq::testing {
namespace {

const auto read_y_scl = [](std::istream& in, const ReadOptions& options) {
  return read_scale_table(in, "y.scl", options);
};

TEST(ReadScaleTable, EchoesLimitsWeightAndRows) {
  const std::string title = "Form Y raw-to-scale conversion";
  std::string echo;
  const RawToScaleFile file =
      read_with_echo(title + "\n100 130 0.5\n0 100.0 100\n1 101.2 101\n2 102.9 103\n", echo, read_y_scl);
  EXPECT_EQ(echo, crlf("\n" + title + std::string(79 - title.size(), ' ') +
                       "\n"
                       "scale score minimum =  100\n"
                       "scale score maximum =  130\n"
                       "w2 =       0.5000\n"
                       "  raw        scale     rounded\n"
                       "   0.00000 100.00000 100.00000\n"
                       "   1.00000 101.20000 101.00000\n"
                       "   2.00000 102.90000 103.00000\n"));
  EXPECT_EQ(file.table.scale_min, 100);
  EXPECT_EQ(file.table.scale_max, 130);
  EXPECT_EQ(file.w2, 0.5);
  EXPECT_EQ(file.table.raw, (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(file.table.scale, (std::vector<double>{100, 101.2, 102.9}));
  EXPECT_EQ(file.table.rounded, (std::vector<double>{100, 101, 103}));
}

TEST(ReadScaleTable, EndsTheTableAtAShortLastRow) {
  std::string echo;
  RawToScaleFile file = read_with_echo("t\n1\n2 0.25\n0 1 1\n1 2\n", echo, read_y_scl);
  EXPECT_EQ(file.table.scale.size(), 1u);
  EXPECT_EQ(file.table.scale_max, 2);
  echo.clear();
  file = read_with_echo("t\n1 2 0\n", echo, read_y_scl);
  EXPECT_EQ(echo.substr(echo.find("  raw")), crlf("  raw        scale     rounded\n"));
  EXPECT_TRUE(file.table.scale.empty());
}

TEST(ReadScaleTable, RejectsBadLimitsAndTooManyRows) {
  std::string too_many = "t\n1 2 0.5\n";
  for (int k = 0; k <= max_score_points; ++k) too_many += "1 1 1\n";
  struct Case {
    std::string content;
    const char* message;
  } const cases[] = {
      {"t\n100. 130 0.5\n", "y.scl line 2: expected an integer, found '100.'"},
      {"t\n100 130\n", "y.scl line 2: end of file before the scale score minimum, maximum and w2 were read"},
      {"t\n130 100 0.5\n", "y.scl line 2: the scale score minimum 130 is above the maximum 100"},
      {"t\n100 130\n1.5\n", "y.scl line 3: w2 is 1.5; the weight of group 2 must lie between 0 and 1"},
      {"t\n100 130 -0.25\n", "y.scl line 2: w2 is -0.25; the weight of group 2 must lie between 0 and 1"},
      {too_many, "y.scl line 1003: more than 1000 rows; a raw-to-scale table holds at most 1000"},
  };
  for (const Case& c : cases) EXPECT_EQ(read_error(c.content, read_y_scl), c.message);
}

}  // namespace
}  // namespace irteq::testing
