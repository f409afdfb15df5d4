// normal_grid: the points of R's seq(low, high, length.out = points), the
// weights the normal density's ratios, and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "irteq/irteq.hpp"

namespace irteq::testing {
namespace {

TEST(NormalGrid, PointsAreEvenAndWeightsAreTheDensitysRatios) {
  const QuadratureGrid grid = normal_grid(0.3, 1.2, 41, -4.0, 4.0);
  ASSERT_EQ(grid.points.size(), 41u);
  EXPECT_EQ(grid.points.front(), -4.0);
  EXPECT_EQ(grid.points.back(), 4.0);
  EXPECT_EQ(grid.points[20], -4.0 + 20.0 * 0.2);
  double sum = 0.0;
  for (const double w : grid.weights) sum += w;
  EXPECT_NEAR(sum, 1.0, 1e-15);
  const auto density = [](double theta) { return std::exp(-0.5 * std::pow((theta - 0.3) / 1.2, 2)); };
  for (std::size_t k = 1; k < grid.points.size(); ++k) {
    EXPECT_NEAR(grid.weights[k] / grid.weights[0], density(grid.points[k]) / density(grid.points[0]),
                1e-12 * density(grid.points[k]) / density(grid.points[0]));
  }
  // A grid symmetric about its mean has symmetric weights, to the bit.
  const QuadratureGrid centred = normal_grid(0.0, 1.0, 11, -5.0, 5.0);
  for (std::size_t k = 0; k < 11; ++k) EXPECT_EQ(centred.weights[k], centred.weights[10 - k]);
}

TEST(NormalGrid, RefusesWhatIsNoGrid) {
  struct Case {
    double mean, sd;
    int points;
    double low, high;
    std::string message;
  };
  for (const Case& c : {Case{0, 0, 41, -4, 4, "sd a finite number above 0"},
                        Case{NAN, 1, 41, -4, 4, "mean must be a finite number"},
                        Case{0, 1, 1, -4, 4, "points is 1; a grid has 2 to 100 points"},
                        Case{0, 1, 101, -4, 4, "points is 101"},
                        Case{0, 1, 41, 4, -4, "the lowest point first"},
                        Case{0, 1, 41, -4, INFINITY, "two finite numbers"},
                        Case{100, 1, 41, -4, 4, "the normal density is 0 at every point"}}) {
    try {
      normal_grid(c.mean, c.sd, c.points, c.low, c.high);
      ADD_FAILURE() << c.message;
    } catch (const Error& error) {
      EXPECT_EQ(error.diagnostic().code, ErrorCode::invalid_input);
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace irteq::testing
