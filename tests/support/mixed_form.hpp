#pragma once

// A mixed-format form of all five models, category scores not 0..m-1, for
// the linking tests: its items as read ("MU" as "MU") and a grid.
#include <cmath>
#include <vector>

#include "irteq/input.hpp"
#include "models/item_model_facts.hpp"

namespace irteq::testing {

inline std::vector<Item> mixed_form() {
  return {
      {1, ItemModel::l3, {0, 1}, {1.7, 1.1, -0.6, 0.2}},
      {2, ItemModel::l3, {1, 3}, {1.7, 0.8, 0.4, 0.15}},
      {3, ItemModel::l3, {0, 1}, {1.0, 1.4, 1.1, 0.25}},
      {4, ItemModel::sn, {0, 2, 5}, {0.9, -0.8, 0.7}},
      {5, ItemModel::sl, {-1, 0, 1, 2}, {1.7, 0.7, -1.2, 0.1, 1.3}},
      {6, ItemModel::bn, {0, 1, 3}, {1.0, -0.9, 0.2, 0.8, 0.3, 0.4, -0.7}},
      {7, ItemModel::mu, {2, 3, 4, 5}, {1.7, 0.9, 0.3, 0.0, 0.8, -0.2, -0.6}},
      {8, ItemModel::sn, {0, 1, 2, 3}, {1.3, -1.5, -0.2, 0.9}},
      {9, ItemModel::mu, {0, 1, 2}, {1.0, 1.2, -0.4, 0.0, 0.5, -0.5}},
      {10, ItemModel::bn, {0, 2}, {1.7, -0.5, 0.6, 0.2, -0.2}},
  };
}

// The mixed form with its estimated values (all but D) moved by -2, -1, 0, 1
// and 2 times step in turn, so that a second form differs from it everywhere.
inline std::vector<Item> perturbed_mixed_form(double step) {
  std::vector<Item> items = mixed_form();
  int counter = 0;
  for (Item& item : items) {
    for (std::size_t k = first_estimated_parameter(item.model); k < item.parameters.size(); ++k) {
      item.parameters[k] += step * ((counter++ % 5) - 2);
    }
  }
  return items;
}

// 21 points from -4 to 4, weights of a normal density, not normalised.
inline QuadratureGrid normal_shaped_grid(double mean = 0.0, double sd = 1.0) {
  QuadratureGrid grid;
  for (int i = 0; i <= 20; ++i) {
    const double z = -4.0 + 0.4 * i;
    grid.points.push_back(mean + sd * z);
    grid.weights.push_back(std::exp(-0.5 * z * z));
  }
  return grid;
}

}  // namespace irteq::testing
