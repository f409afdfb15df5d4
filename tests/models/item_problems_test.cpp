#include "models/item_problems.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace irteq {
namespace {

bool usable(ItemModel model, int m, std::vector<double> parameters) {
  return parameter_problem(model, m, parameters).empty();
}

TEST(ItemProblems, AcceptsParametersAtTheEdgesOfUsable) {
  EXPECT_TRUE(usable(ItemModel::l3, 2, {1.7, 1.0, 0.0, 0.0}));
  EXPECT_TRUE(usable(ItemModel::l3, 2, {1.7, 1.0, 0.0, 1.0}));
  EXPECT_TRUE(usable(ItemModel::sn, 4, {0.9, -1.0, -1.0, 2.0}));  // equal thresholds: an empty category
  EXPECT_TRUE(usable(ItemModel::sn, 3, {-0.9, 1.0, -1.0}));       // a negative slope with falling thresholds
  EXPECT_TRUE(usable(ItemModel::sl, 3, {-1.7, 1.0, 1.0, -1.0}));  // D and a of opposite signs
  EXPECT_TRUE(usable(ItemModel::sn, 1, {0.9}));
  EXPECT_TRUE(usable(ItemModel::bn, 2, {1.0, 5.0, -5.0, 3.0, -3.0}));
}

TEST(ItemProblems, RejectsProbabilitiesOutsideZeroToOne) {
  EXPECT_FALSE(usable(ItemModel::l3, 2, {1.7, 1.0, 0.0, -1e-9}));
  EXPECT_FALSE(usable(ItemModel::l3, 2, {1.7, 1.0, 0.0, 1.0000001}));
  EXPECT_FALSE(usable(ItemModel::sn, 3, {0.9, 1.0, -1.0}));
  EXPECT_FALSE(usable(ItemModel::sl, 4, {1.7, 1.0, -1.0, 0.0, -0.5}));
  EXPECT_FALSE(usable(ItemModel::sl, 3, {1.7, -1.0, -1.0, 1.0}));
}

}  // namespace
}  // namespace irteq
