#include "models/category_probabilities.hpp"

#include <gtest/gtest.h>

#include <array>
#include <span>
#include <vector>

#include "models/bn_probabilities.hpp"
#include "models/l3_probabilities.hpp"
#include "models/sl_probabilities.hpp"
#include "models/sn_probabilities.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

constexpr double guard = -777.0;

// Each type code reaches its own model with the leading parameters, and no
// more than the item's categories are written.
TEST(CategoryProbabilities, DispatchesByTypeCode) {
  const Item l3 = l3_item(1.7, 1.1, 0.3, 0.2);
  const Item sn = make_item(ItemModel::sn, {0, 1, 2}, {1.2, -0.5, 0.6});
  const Item sl = make_item(ItemModel::sl, {0, 1, 2}, {1.7, 0.9, -0.5, 0.6});
  const Item bn = make_item(ItemModel::bn, {0, 1, 2}, {1.7, 0.2, 0.8, 1.4, 0.3, 0.0, -0.3});
  const std::span<const double> parameters_sn(sn.parameters), parameters_sl(sl.parameters),
      parameters_bn(bn.parameters);
  for (const double theta : {-1.5, 0.0, 0.9}) {
    std::array<double, 4> expected{guard, guard, guard, guard}, p{guard, guard, guard, guard};
    l3_probabilities(theta, 1.7, 1.1, 0.3, 0.2, expected);
    category_probabilities(l3, theta, p);
    EXPECT_EQ(p, expected) << "L3, theta = " << theta;

    sn_probabilities(3, theta, parameters_sn.first(3), expected);
    category_probabilities(sn, theta, p);
    EXPECT_EQ(p, expected) << "SN, theta = " << theta;

    sl_probabilities(3, theta, parameters_sl.first(4), expected);
    category_probabilities(sl, theta, p);
    EXPECT_EQ(p, expected) << "SL, theta = " << theta;

    bn_probabilities(3, theta, parameters_bn.first(7), expected);
    category_probabilities(bn, theta, p);
    EXPECT_EQ(p, expected) << "BN, theta = " << theta;
    EXPECT_EQ(p[3], guard);
  }
}

}  // namespace
}  // namespace irteq::testing
