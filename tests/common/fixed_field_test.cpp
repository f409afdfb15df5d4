#include "common/fixed_field.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace irteq {
namespace {

std::string fixed(double value, int width, int decimals) {
  std::string line;
  append_fixed(line, value, width, decimals);
  return line;
}

TEST(FixedField, WritesRealsInFwd) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    int width;
    int decimals;
    const char* expected;
  } const cases[] = {
      {12.0, 4, 0, " 12."},          {0.0, 4, 0, "  0."},
      {-4.0, 4, 0, " -4."},          {-365.0, 6, 0, " -365."},
      {1000.0, 4, 0, "****"},        {-100.0, 4, 0, "****"},
      {0.5, 10, 6, "  0.500000"},    {-0.5, 10, 6, " -0.500000"},
      {0.5, 9, 8, ".50000000"},      {-0.5, 8, 6, "-.500000"},
      {-0.5, 9, 8, "*********"},     {1581.0, 10, 6, "**********"},
      {104.0, 10, 6, "104.000000"},  {0.000000004, 12, 8, "  0.00000000"},
      {0.000000005000001, 12, 8, "  0.00000001"},
      {-1e-9, 12, 6, "   -0.000000"}, {2.5, 12, 4, "      2.5000"},
      {-338.2206, 9, 4, "-338.2206"}, {1e300, 12, 6, "************"},
      {nan, 9, 4, "      NaN"},     {-nan, 9, 4, "      NaN"},
      {inf, 9, 4, "      INF"},     {-inf, 9, 4, "     -INF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fixed(c.value, c.width, c.decimals), c.expected) << c.value << " in F" << c.width << '.' << c.decimals;
  }
}

TEST(FixedField, WritesIntegersAndText) {
  std::string line;
  append_integer(line, -365, 5);
  append_integer(line, 7, 1);
  append_integer(line, 12, 1);
  append_text_right(line, "L3", 4);
  append_text(line, " x ");
  EXPECT_EQ(line, " -3657*  L3 x ");
}

TEST(FixedField, EchoesIntegersInFreeFormat) {
  std::string line;
  const std::vector<int> scores{0, -1, 12};
  append_free_integers(line, scores);
  EXPECT_EQ(line, "            0          -1          12");
}

}  // namespace
}  // namespace irteq
