#include "models/test_characteristic_function.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

// The root of 2 * (0.2 + 0.8 / (1 + exp(-1.7 theta))) = 1: exp(-1.7 theta) = 5/3.
const double two_item_root = -std::log(5.0 / 3.0) / 1.7;

TEST(TestCharacteristicFunction, EmptyFormScoresZero) {
  const std::vector<Item> items;
  EXPECT_EQ(test_characteristic_function(items, 0.3), 0.0);
}

TEST(TestCharacteristicFunction, TwoGuessingItemsSumTheirCorrectProbabilities) {
  std::vector<Item> items;
  add_item(items, l3_item(1.7, 1.0, 0.0, 0.2), 2);
  EXPECT_DOUBLE_EQ(test_characteristic_function(items, 0.0), 1.2);
  EXPECT_NEAR(test_characteristic_function(items, two_item_root), 1.0, 1e-12);
  EXPECT_NEAR(test_characteristic_function(items, -0.3004856610), 1.0, 1e-10);
  // Towards the ends: the sum of the asymptotes and the number of items.
  EXPECT_NEAR(test_characteristic_function(items, -30.0), 0.4, 1e-15);
  EXPECT_EQ(test_characteristic_function(items, 30.0), 2.0);
}

// Category scores count with their own values: shifting every score of an
// item by one adds exactly the item's total probability, 1, at every theta.
TEST(TestCharacteristicFunction, ShiftedCategoryScoresAddOne) {
  const Item models[] = {make_item(ItemModel::sn, {0, 1, 2}, {1.2, -0.5, 0.6}),
                         make_item(ItemModel::sl, {0, 1, 2}, {1.7, 0.9, -0.5, 0.6}),
                         make_item(ItemModel::bn, {0, 1, 2}, {1.7, 0.2, 0.8, 1.4, 0.3, 0.0, -0.3})};
  for (const Item& item : models) {
    std::vector<Item> low;
    std::vector<Item> high;
    Item shifted = item;
    for (int k = 0; k < 3; ++k) ++shifted.category_scores[static_cast<std::size_t>(k)];
    add_item(low, item);
    add_item(high, shifted);
    for (double theta = -4.0; theta <= 4.0; theta += 0.5) {
      EXPECT_NEAR(test_characteristic_function(high, theta) - test_characteristic_function(low, theta), 1.0,
                  1e-15)
          << item_code(item.model) << ", theta = " << theta;
    }
  }
}

TEST(TestCharacteristicFunction, RisesWithThetaForPositiveSlopes) {
  std::vector<Item> items;
  add_item(items, l3_item(1.7, 1.0, -0.5, 0.2));
  add_item(items, make_item(ItemModel::sn, {0, 1, 2}, {1.2, -0.5, 0.6}));
  add_item(items, make_item(ItemModel::sl, {1, 2, 4}, {1.7, 0.9, -1.0, 1.2}));
  add_item(items, make_item(ItemModel::bn, {0, 1, 2}, {1.7, 0.2, 0.8, 1.4, 0.3, 0.0, -0.3}));
  double previous = test_characteristic_function(items, -5.0);
  for (double theta = -4.75; theta <= 5.0; theta += 0.25) {
    const double current = test_characteristic_function(items, theta);
    EXPECT_GT(current, previous) << "theta = " << theta;
    previous = current;
  }
}

}  // namespace
}  // namespace irteq::testing
