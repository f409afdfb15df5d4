#include "observed/round_scale_scores.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

namespace irteq::testing {
namespace {

struct RoundingCase {
  double scale;
  double rounded;
};

class RoundScaleScores : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(RoundScaleScores, HalvesGoAwayFromZero) {
  const std::vector<double> in{GetParam().scale};
  const std::vector<double> out = round_scale_scores(in);
  EXPECT_EQ(out[0], GetParam().rounded) << "scale " << in[0];
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundScaleScores,
    ::testing::Values(RoundingCase{2.5, 3}, RoundingCase{-2.5, -3}, RoundingCase{2.4999, 2}, RoundingCase{99.5, 100},
                      RoundingCase{-2.4999, -2}, RoundingCase{0.0, 0},
                      // The converted equivalents of the three-point example on scale 10..30.
                      RoundingCase{9.5 + 1.0 / 3.0, 10}, RoundingCase{18.75, 19}, RoundingCase{30.5 - 1e-8, 30},
                      // Outside the scale limits nothing is clamped.
                      RoundingCase{4.5, 5}, RoundingCase{37.5, 38}, RoundingCase{-12.7, -13},
                      // s + 0.5 is formed in double first: the largest double below
                      // 0.5 sums to exactly 1 and so rounds up, on either side of zero.
                      RoundingCase{0.49999999999999994, 1}, RoundingCase{-0.49999999999999994, -1}),
    // Named by the value, written shortest: -2.5 is minus_2_5.
    [](const auto& info) {
      char text[32];
      const char* end = std::to_chars(text, text + sizeof text, info.param.scale).ptr;
      std::string name;
      for (const char* c = text; c != end; ++c) name += *c == '-' ? "minus_" : std::string(1, *c == '.' ? '_' : *c);
      return name;
    });

}  // namespace
}  // namespace irteq::testing
