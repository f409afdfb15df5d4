#pragma once

// Two items of each model, category scores not 0..m-1, for the tests that
// walk every model through every stage. A new model fails to compile here
// until it has its examples.
#include <vector>

#include "irteq/input.hpp"

namespace irteq::testing {

inline std::vector<Item> model_examples(ItemModel model) {
  switch (model) {
    case ItemModel::l3:
      return {{1, ItemModel::l3, {0, 1}, {1.7, 1.1, -0.6, 0.2}}, {2, ItemModel::l3, {1, 3}, {1.0, 0.8, 0.4, 0.15}}};
    case ItemModel::sn:
      return {{1, ItemModel::sn, {0, 2, 5}, {0.9, -0.8, 0.7}}, {2, ItemModel::sn, {0, 1, 2, 3}, {1.3, -1.5, -0.2, 0.9}}};
    case ItemModel::sl:
      return {{1, ItemModel::sl, {-1, 0, 1, 2}, {1.7, 0.7, -1.2, 0.1, 1.3}},
              {2, ItemModel::sl, {0, 1, 2}, {1.0, 1.1, -0.4, 0.6}}};
    case ItemModel::bn:
      return {{1, ItemModel::bn, {0, 1, 3}, {1.0, -0.9, 0.2, 0.8, 0.3, 0.4, -0.7}},
              {2, ItemModel::bn, {0, 2}, {1.7, -0.5, 0.6, 0.2, -0.2}}};
    case ItemModel::mu:
      return {{1, ItemModel::mu, {2, 3, 4, 5}, {1.7, 0.9, 0.3, 0.0, 0.8, -0.2, -0.6}},
              {2, ItemModel::mu, {0, 1, 2}, {1.0, 1.2, -0.4, 0.0, 0.5, -0.5}}};
  }
  return {};
}

}  // namespace irteq::testing
