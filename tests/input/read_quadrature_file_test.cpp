#include "input/read_quadrature_file.hpp"

#include <gtest/gtest.h>

#include <string>

#include "common/run_error.hpp"
#include "support/binary_run.hpp"
#include "support/reader_echo.hpp"

namespace irteq {
namespace {

using testing::crlf;
using testing::echo_of_file;

std::string echo_of(const std::string& content, QuadratureGrid& grid) {
  return echo_of_file("g.qd", content,
                      [&](const std::string& name, ReportFile& report) { read_quadrature_file(name, report, grid); });
}

TEST(ReadQuadratureFile, EchoesPointsAsReadAndNormalisesTheWeights) {
  QuadratureGrid grid;
  const std::string echo = echo_of("group 2\n-1.0 1\n0.0 2\n1.0 1\n", grid);
  EXPECT_EQ(echo, crlf("\n\nquadrature points file as read in\n\ngroup 2" + std::string(72, ' ') +
                       "\n"
                       " -1.000000  1.000000\n"
                       "  0.000000  2.000000\n"
                       "  1.000000  1.000000\n"));
  ASSERT_EQ(grid.count, 3);
  EXPECT_EQ(grid.weights[0], 0.25);
  EXPECT_EQ(grid.weights[1], 0.5);
  EXPECT_EQ(grid.weights[2], 0.25);
}

TEST(ReadQuadratureFile, DropsAPointWithoutItsWeight) {
  QuadratureGrid grid;
  echo_of("t\n-1 30 comment\n1,\n70\n2\n", grid);
  ASSERT_EQ(grid.count, 2);
  EXPECT_EQ(grid.points[1], 1.0);
  EXPECT_DOUBLE_EQ(grid.weights[0], 0.3);
}

TEST(ReadQuadratureFile, RejectsGridsWithoutUsableWeights) {
  struct Case {
    const char* content;
    const char* message;
  } const cases[] = {
      {"title only\n", "the file holds no quadrature points"},
      {"t\n-1 0\n1 0\n", "the quadrature weights add up to 0; they must have a finite sum other than zero"},
      {"t\n-1 1\n1 -0.5\n", "line 3: the quadrature weight -0.5 is negative"},
      {"t\n-1 1e308\n1 1e308\n", "add up to inf; they must have a finite sum other than zero"},
  };
  for (const Case& c : cases) {
    QuadratureGrid grid;
    try {
      echo_of(c.content, grid);
      ADD_FAILURE() << c.content << ": accepted";
    } catch (const RunError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

TEST(ReadQuadratureFile, RejectsMorePointsThanAGridHolds) {
  std::string content = "t\n";
  for (int j = 0; j <= max_quadrature_points; ++j) content += std::to_string(j) + " 1\n";
  QuadratureGrid grid;
  try {
    echo_of(content, grid);
    ADD_FAILURE() << "101 points accepted";
  } catch (const RunError& error) {
    EXPECT_NE(std::string(error.what()).find("line 102: more than 100 quadrature points"), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace irteq
