#include "input/item_parameter_problem.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace irteq {
namespace {

bool usable(const TypeCode& code, int m, std::vector<double> parameters) {
  return item_parameter_problem(code, m, parameters).empty();
}

TEST(ItemParameterProblem, AcceptsParametersAtTheEdgesOfUsable) {
  EXPECT_TRUE(usable(code_l3, 2, {1.7, 1.0, 0.0, 0.0}));
  EXPECT_TRUE(usable(code_l3, 2, {1.7, 1.0, 0.0, 1.0}));
  EXPECT_TRUE(usable(code_sn, 4, {0.9, -1.0, -1.0, 2.0}));  // equal thresholds: an empty category
  EXPECT_TRUE(usable(code_sn, 3, {-0.9, 1.0, -1.0}));       // a negative slope with falling thresholds
  EXPECT_TRUE(usable(code_sl, 3, {-1.7, 1.0, 1.0, -1.0}));  // D and a of opposite signs
  EXPECT_TRUE(usable(code_sn, 1, {0.9}));
  EXPECT_TRUE(usable(code_bn, 2, {1.0, 5.0, -5.0, 3.0, -3.0}));
}

TEST(ItemParameterProblem, RejectsProbabilitiesOutsideZeroToOne) {
  EXPECT_FALSE(usable(code_l3, 2, {1.7, 1.0, 0.0, -1e-9}));
  EXPECT_FALSE(usable(code_l3, 2, {1.7, 1.0, 0.0, 1.0000001}));
  EXPECT_FALSE(usable(code_sn, 3, {0.9, 1.0, -1.0}));
  EXPECT_FALSE(usable(code_sl, 4, {1.7, 1.0, -1.0, 0.0, -0.5}));
  EXPECT_FALSE(usable(code_sl, 3, {1.7, -1.0, -1.0, 1.0}));
}

}  // namespace
}  // namespace irteq
