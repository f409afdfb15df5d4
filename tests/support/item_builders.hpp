#pragma once

// Small builders for items and distributions in unit tests. Items are built
// as the models see them: parameters in file order, "MU" items already
// converted to "BN" unless a test converts them itself.
#include <initializer_list>
#include <vector>

#include "common/score_distribution.hpp"
#include "irteq/input.hpp"

namespace irteq::testing {

inline Item make_item(ItemModel model, std::initializer_list<int> scores, std::initializer_list<double> parameters,
                      int number = 1) {
  return Item{number, model, std::vector<int>(scores), std::vector<double>(parameters)};
}

// A three-parameter logistic item, scored 0 and 1 unless told otherwise.
inline Item l3_item(double d, double a, double b, double c, int incorrect = 0, int correct = 1) {
  return make_item(ItemModel::l3, {incorrect, correct}, {d, a, b, c});
}

inline void add_item(std::vector<Item>& items, const Item& item, int copies = 1) {
  for (int i = 0; i < copies; ++i) items.push_back(item);
}

// The consecutive raw score points lowest..highest, stored as doubles.
inline std::vector<double> score_points(int lowest, int highest) {
  std::vector<double> points;
  for (int x = lowest; x <= highest; ++x) points.push_back(static_cast<double>(x));
  return points;
}

// A distribution over consecutive raw scores from first_raw.
inline ScoreDistribution distribution(double first_raw, const std::vector<double>& probabilities) {
  ScoreDistribution d;
  for (std::size_t i = 0; i < probabilities.size(); ++i) d.raw_scores.push_back(first_raw + static_cast<double>(i));
  d.probabilities = probabilities;
  return d;
}

}  // namespace irteq::testing
