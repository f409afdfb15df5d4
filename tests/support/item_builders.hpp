#pragma once

// Small builders for item sets and distributions in unit tests. Items are built the way the
// reader leaves them: "MU" items already converted, parameters in file order.
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <vector>

#include "common/item_set.hpp"
#include "common/score_distribution.hpp"

namespace irteq::testing {

inline Item make_item(TypeCode code, std::initializer_list<int> scores, std::initializer_list<double> parameters) {
  Item item;
  item.type_code = code;
  item.category_count = static_cast<int>(scores.size());
  std::size_t k = 0;
  for (const int score : scores) item.category_scores[k++] = score;
  k = 0;
  for (const double value : parameters) item.parameters[k++] = value;
  return item;
}

// A three-parameter logistic item, scored 0 and 1 unless told otherwise.
inline Item l3_item(double d, double a, double b, double c, int incorrect = 0, int correct = 1) {
  return make_item(code_l3, {incorrect, correct}, {d, a, b, c});
}

inline void add_item(ItemSet& items, const Item& item, int copies = 1) {
  for (int i = 0; i < copies; ++i) items.items[static_cast<std::size_t>(items.item_count++)] = item;
}

// The consecutive raw score points lowest..highest, stored as doubles.
inline std::vector<double> score_points(int lowest, int highest) {
  std::vector<double> points;
  for (int x = lowest; x <= highest; ++x) points.push_back(static_cast<double>(x));
  return points;
}

// A distribution over consecutive raw scores from first_raw.
inline std::unique_ptr<ScoreDistribution> distribution(double first_raw, const std::vector<double>& probabilities) {
  auto d = std::make_unique<ScoreDistribution>();
  d->point_count = static_cast<int>(probabilities.size());
  for (std::size_t i = 0; i < probabilities.size(); ++i) {
    d->raw_scores[i] = first_raw + static_cast<double>(i);
    d->probabilities[i] = probabilities[i];
  }
  return d;
}

}  // namespace irteq::testing
