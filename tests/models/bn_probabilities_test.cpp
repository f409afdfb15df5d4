#include "models/bn_probabilities.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace irteq::testing {
namespace {

// A nominal item of m categories: D, then m slopes, then m intercepts.
struct Nominal {
  std::vector<double> parameters;
  std::size_t m() const { return (parameters.size() - 1) / 2; }
  double exponent(std::size_t k, double theta) const {
    return parameters[0] * (parameters[1 + k] * theta + parameters[1 + m() + k]);
  }
  std::vector<double> probabilities(double theta) const {
    std::vector<double> p(m());
    bn_probabilities(static_cast<int>(m()), theta, parameters, p);
    return p;
  }
};

TEST(BnProbabilities, EqualCategoriesShareTheProbabilityEvenly) {
  const Nominal three{{1.7, 0.7, 0.7, 0.7, -0.3, -0.3, -0.3}};
  const Nominal four{{1.0, 1.2, 1.2, 1.2, 1.2, 0.5, 0.5, 0.5, 0.5}};
  for (const double theta : {-2.0, 0.0, 3.0}) {
    for (const double pk : three.probabilities(theta)) EXPECT_DOUBLE_EQ(pk, 1.0 / 3.0);
    for (const double pk : four.probabilities(theta)) EXPECT_DOUBLE_EQ(pk, 0.25);
  }
}

// Wherever the exponentials are finite the probabilities are the direct
// quotients, to the bit, with the sum taken in category order.
TEST(BnProbabilities, OrdinaryItemUsesTheDirectFormula) {
  const Nominal item{{1.7, 0.5, 1.0, 1.5, 0.2, -0.1, -0.4}};
  for (const double theta : {-2.5, 0.0, 0.7, 3.0}) {
    const double e[3] = {std::exp(item.exponent(0, theta)), std::exp(item.exponent(1, theta)),
                         std::exp(item.exponent(2, theta))};
    const double sum = e[0] + e[1] + e[2];
    const auto p = item.probabilities(theta);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(p[k], e[k] / sum) << "theta = " << theta << ", k = " << k;
  }
}

// Exponents beyond the double range (up to 3060 at theta 3, all below -745
// at theta -3) would give infinity over infinity or zero over zero; shifting
// every exponent by the largest keeps the same probabilities finite.
TEST(BnProbabilities, ExponentsOutsideTheDoubleRangeAreShifted) {
  const Nominal item{{1.7, 500.0, 600.0, 600.0, 0.0, 0.0, -0.5}};
  for (const double theta : {3.0, -3.0}) {
    const double largest = std::max({item.exponent(0, theta), item.exponent(1, theta), item.exponent(2, theta)});
    std::vector<double> shifted;
    for (std::size_t k = 0; k < 3; ++k) shifted.push_back(std::exp(item.exponent(k, theta) - largest));
    const double sum = shifted[0] + shifted[1] + shifted[2];
    const auto p = item.probabilities(theta);
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_TRUE(std::isfinite(p[k])) << "theta = " << theta << ", k = " << k;
      EXPECT_DOUBLE_EQ(p[k], shifted[k] / sum) << "theta = " << theta << ", k = " << k;
    }
    EXPECT_NEAR(p[0] + p[1] + p[2], 1.0, 1e-15);
  }
}

}  // namespace
}  // namespace irteq::testing
