#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/files.hpp"

namespace irteq::testing {
namespace {

TEST(ReadCommonItems, TakesTheMethodAndThePairsWithTheirLines) {
  std::istringstream in("Spring anchors\nhaebara symmetric\n3 1\n7,4 ! drifted?\n\n 12\n 9\n");
  std::vector<std::string> echo;
  const CommonItemsFile file =
      read_common_items(in, "anchors.txt", {.echo = [&](std::string_view line) { echo.emplace_back(line); }, .warning = {}});
  EXPECT_EQ(file.method, LinkingMethod::haebara);
  EXPECT_TRUE(file.symmetric);
  EXPECT_EQ(file.method_line, 2);
  ASSERT_EQ(file.pairs.size(), 3u);
  const int expected[][3] = {{3, 1, 3}, {7, 4, 4}, {12, 9, 6}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(file.pairs[i].x_number, expected[i][0]);
    EXPECT_EQ(file.pairs[i].y_number, expected[i][1]);
    EXPECT_EQ(file.pairs[i].line, expected[i][2]);
  }
  ASSERT_EQ(echo.size(), 6u);
  EXPECT_EQ(echo[2], "haebara symmetric");
  EXPECT_EQ(echo[5], "    12     9");
}

// A quoted word names an item by label, beside numbers in the same file.
TEST(ReadCommonItems, TakesLabelsInPlaceOfNumbers) {
  std::istringstream in("anchors\nhaebara\n'R05001' \"R 2\"\n7 'R07'\n3 1\n");
  std::vector<std::string> echo;
  const CommonItemsFile file =
      read_common_items(in, "anchors.txt", {.echo = [&](std::string_view line) { echo.emplace_back(line); }, .warning = {}});
  ASSERT_EQ(file.pairs.size(), 3u);
  EXPECT_EQ(file.pairs[0].x_label, "R05001");
  EXPECT_EQ(file.pairs[0].y_label, "R 2");
  EXPECT_EQ(file.pairs[1].x_number, 7);
  EXPECT_EQ(file.pairs[1].x_label, "");
  EXPECT_EQ(file.pairs[1].y_label, "R07");
  EXPECT_EQ(file.pairs[2].x_label, "");
  EXPECT_EQ(file.pairs[2].y_label, "");
  EXPECT_EQ(file.pairs[2].y_number, 1);
  EXPECT_EQ(echo[3], " 'R05001' 'R 2'");
  EXPECT_EQ(echo[4], "     7 'R07'");
  std::istringstream empty("anchors\nhaebara\n'' 1\n");
  EXPECT_THROW(read_common_items(empty, "anchors.txt"), Error);
}

TEST(ReadCommonItems, TakesAScreeningLineAfterTheMethod) {
  std::istringstream in("anchors\nstocking-lord\nScreen ROBUST-Z 2.7e0 / purify\n3 1\n7 4\n");
  std::vector<std::string> echo;
  const CommonItemsFile file =
      read_common_items(in, "anchors.txt", {.echo = [&](std::string_view line) { echo.emplace_back(line); }, .warning = {}});
  EXPECT_EQ(file.screen, ScreeningStatistic::robust_z);
  EXPECT_EQ(file.cut, 2.7);
  EXPECT_EQ(file.screen_line, 3);
  ASSERT_EQ(file.pairs.size(), 2u);
  EXPECT_EQ(file.pairs[0].line, 4);
  EXPECT_EQ(echo[3], "screen robust-z 2.7");

  std::istringstream without("anchors\nhaebara\n3 1\n7 4\n");
  const CommonItemsFile plain = read_common_items(without, "anchors.txt");
  EXPECT_EQ(plain.screen, ScreeningStatistic::none);
  EXPECT_EQ(plain.pairs.size(), 2u);
  EXPECT_EQ(plain.pairs[0].line, 3);
}

TEST(ReadCommonItems, RefusesAScreeningLineItCannotRead) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"screen", "anchors.txt line 3: screen names no statistic; write screen robust-z, rmsd or wald"},
      {"screen dfit 0.1", "unknown screening statistic 'dfit'"},
      {"screen none 1", "unknown screening statistic 'none'"},
      {"screen rmsd", "screen rmsd gives no cut"},
      {"screen rmsd 0,1", "'1' after the cut; the screening line ends with the cut (a decimal comma?"},
      {"screen wald 1e999", "the cut '1e999' is not a number"},
      {"screen rmsd 0.1 twice", "'twice' after the cut"},
  };
  for (const auto& c : cases) {
    std::istringstream in(std::string("anchors\nhaebara\n") + c.line + "\n1 1\n2 2\n");
    try {
      read_common_items(in, "anchors.txt");
      ADD_FAILURE() << c.line << ": read";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
      EXPECT_EQ(error.diagnostic().line, 3) << c.line;
    }
  }
}

}  // namespace
}  // namespace irteq::testing
