#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace irteq::testing
