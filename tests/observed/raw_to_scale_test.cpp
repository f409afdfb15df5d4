#include "observed/raw_to_scale.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace irteq::testing {
namespace {

ScaleTable table(const std::vector<double>& scale, int scale_min, int scale_max) {
  ScaleTable t;
  t.scale = scale;
  t.scale_min = scale_min;
  t.scale_max = scale_max;
  return t;
}

std::vector<double> convert(const std::vector<double>& equivalents, const std::vector<double>& y, const ScaleTable& t) {
  return raw_to_scale(equivalents, y, t);
}

const std::vector<double> y012{0.0, 1.0, 2.0};

TEST(RawToScale, EquivalentsOfTheThreePointExample) {
  // Equivalents of the equipercentile three-point example on scale 10, 20, 30.
  const auto t = table({10, 20, 30}, 10, 30);
  const auto s = convert({0.1 / 0.3 - 0.5, 0.875, 2.0, 2.5 - 1e-8}, y012, t);
  EXPECT_NEAR(s[0], 9.5 + 1.0 / 3.0, 1e-14);  // on the lower end segment from (-0.5, 9.5)
  EXPECT_NEAR(s[1], 18.75, 1e-14);
  EXPECT_NEAR(s[2], 30.0, 1e-14);
  EXPECT_NEAR(s[3], 30.5 - 1e-8, 1e-12);
  EXPECT_LT(s[3], 30.5);
}

TEST(RawToScale, EndPointsMapToHalfAPointBeyondTheScaleLimits) {
  const auto t = table({12, 20, 27}, 10, 30);
  const auto s = convert({-0.5, 0.0, 1.0, 2.0, 2.5}, y012, t);
  EXPECT_EQ(s, (std::vector<double>{9.5, 12.0, 20.0, 27.0, 30.5}));
}

TEST(RawToScale, BeyondTheEndsTheEndLinesAreExtendedNotClamped) {
  // Lower end line rises (12 - 9.5) / 0.5 = 5 per raw point, the upper one (30.5 - 27) / 0.5 = 7.
  const auto t = table({12, 20, 27}, 10, 30);
  const auto s = convert({-1.5, 3.5}, y012, t);
  EXPECT_NEAR(s[0], 4.5, 1e-14);
  EXPECT_NEAR(s[1], 37.5, 1e-14);
}

TEST(RawToScale, NegativeLowestRawScorePairsTableRowsByPosition) {
  // Row 1 belongs to raw score -2; the raw column is deliberately unrelated.
  auto t = table({1, 2, 4, 8}, 1, 8);
  t.raw = {100.0, 101.0, 102.0, 103.0};
  const auto s = convert({-2.5, -2.0, -1.5, 0.5, 1.0, 1.5}, {-2, -1, 0, 1}, t);
  EXPECT_EQ(s, (std::vector<double>{0.5, 1.0, 1.5, 6.0, 8.0, 8.5}));
}

TEST(RawToScale, AFallingEquivalentTakesTheSegmentThatBracketsIt) {
  const auto t = table({12, 20, 27}, 10, 30);
  // 0.5 lies between raw 0 and 1 (scale 12 and 20) whatever came before it.
  EXPECT_EQ(convert({1.5, 0.5, -0.25}, y012, t), (std::vector<double>{23.5, 16.0, 10.75}));
}

}  // namespace
}  // namespace irteq::testing
