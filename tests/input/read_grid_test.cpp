#include <gtest/gtest.h>

#include <string>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "support/binary_run.hpp"
#include "support/reader_echo.hpp"

namespace irteq::testing {
namespace {

const auto read_g_qd = [](std::istream& in, const ReadOptions& options) { return read_grid(in, "g.qd", options); };

TEST(ReadGrid, EchoesPointsAndKeepsTheWeightsAsRead) {
  std::string echo;
  const QuadratureGrid grid = read_with_echo("group 2\n-1.0 1\n0.0 2\n1.0 1\n", echo, read_g_qd);
  EXPECT_EQ(echo, crlf("\ngroup 2" + std::string(72, ' ') +
                       "\n"
                       " -1.000000  1.000000\n"
                       "  0.000000  2.000000\n"
                       "  1.000000  1.000000\n"));
  EXPECT_EQ(grid.points, (std::vector<double>{-1, 0, 1}));
  EXPECT_EQ(grid.weights, (std::vector<double>{1, 2, 1}));
}

TEST(ReadGrid, DropsAPointWithoutItsWeight) {
  std::string echo;
  const QuadratureGrid grid = read_with_echo("t\n-1 30 comment\n1,\n70\n2\n", echo, read_g_qd);
  EXPECT_EQ(grid.points, (std::vector<double>{-1, 1}));
  EXPECT_EQ(grid.weights, (std::vector<double>{30, 70}));
}

TEST(ReadGrid, RejectsGridsWithoutUsableWeights) {
  std::string too_many = "t\n";
  for (int j = 0; j <= max_quadrature_points; ++j) too_many += std::to_string(j) + " 1\n";
  struct Case {
    std::string content;
    const char* message;
  } const cases[] = {
      {"title only\n", "g.qd: the file holds no quadrature points"},
      {"t\n-1 0\n1 0\n", "g.qd: the quadrature weights add up to 0; they must have a finite sum other than zero"},
      {"t\n-1 1\n1 -0.5\n", "g.qd line 3: the quadrature weight -0.5 is negative"},
      {"t\n-1 1e308\n1 1e308\n", "g.qd: the quadrature weights add up to inf; they must have a finite sum other than zero"},
      {too_many, "g.qd line 102: more than 100 quadrature points; a grid holds at most 100"},
  };
  for (const Case& c : cases) EXPECT_EQ(read_error(c.content, read_g_qd), c.message);
}

}  // namespace
}  // namespace irteq::testing
