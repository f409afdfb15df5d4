// The scale slopes against backward differences of raw_to_scale, exact for
// its straight segments: inside segments, at knots (the segment below) and
// on both end lines.
#include "standard_errors/scale_slopes.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "observed/raw_to_scale.hpp"

namespace irteq::testing {
namespace {

TEST(ScaleSlopes, AreTheSlopesOfTheSegmentsRawToScaleTakes) {
  const std::vector<double> y_raw = {0, 1, 2, 3, 4};
  const ScaleTable table{10, 60, {}, {12, 18, 18, 35, 55}, {12, 18, 18, 35, 55}};
  const std::vector<double> equivalents = {-0.8, -0.3, 0.0, 0.4, 1.0, 1.5, 2.0, 2.25, 3.0, 3.9, 4.0, 4.3, 5.2};
  const std::vector<double> slopes = scale_slopes(equivalents, y_raw, table);
  ASSERT_EQ(slopes.size(), equivalents.size());
  const double h = 1e-6;
  for (std::size_t i = 0; i < equivalents.size(); ++i) {
    const double at[] = {equivalents[i], equivalents[i] - h};
    const std::vector<double> scale = raw_to_scale(at, y_raw, table);
    EXPECT_NEAR(slopes[i], (scale[0] - scale[1]) / h, 1e-6) << "equivalent " << equivalents[i];
  }
  EXPECT_EQ(slopes[6], 0.0);  // at raw 2, on the flat segment from raw 1
}

}  // namespace
}  // namespace irteq::testing
