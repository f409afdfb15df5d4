#include "models/mu_to_bn.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "models/bn_probabilities.hpp"

namespace irteq::testing {
namespace {

// D, a, b, d(1..m) in, room for the 2m+1 nominal values and one guard after them.
std::vector<double> converted(std::vector<double> values) {
  const int m = static_cast<int>(values.size()) - 3;
  values.resize(static_cast<std::size_t>(2 * m + 2), -777.0);
  mu_to_bn(values, m);
  EXPECT_EQ(values.back(), -777.0) << "wrote past the 2m+1 values";
  values.pop_back();
  return values;
}

std::vector<double> probabilities(const std::vector<double>& nominal, double theta) {
  const int m = static_cast<int>(nominal.size() - 1) / 2;
  std::vector<double> p(static_cast<std::size_t>(m));
  bn_probabilities(m, theta, nominal, p);
  return p;
}

TEST(MuToBn, ConvertsToSlopesAndIntercepts) {
  const std::vector<double> expected{1.7, 1.0, 2.0, 3.0, -0.5, -0.2, -1.5};
  const auto nominal = converted({1.7, 1.0, 0.5, 0.0, 0.8, -0.8});
  ASSERT_EQ(nominal.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_DOUBLE_EQ(nominal[i], expected[i]) << "value " << i;
}

// d(1) enters every category's exponent alike, so it moves the intercepts
// and leaves the probabilities alone.
TEST(MuToBn, FirstStepChangesInterceptsButNotProbabilities) {
  const auto zero = converted({1.7, 1.0, 0.5, 0.0, 0.8, -0.8});
  const auto moved = converted({1.7, 1.0, 0.5, 0.7, 0.8, -0.8});
  for (std::size_t i = 4; i < 7; ++i) EXPECT_NE(zero[i], moved[i]);
  for (const double theta : {-2.0, 0.0, 1.5}) {
    const auto p = probabilities(zero, theta);
    const auto q = probabilities(moved, theta);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(p[k], q[k], 1e-15) << "theta = " << theta;
  }
}

}  // namespace
}  // namespace irteq::testing
