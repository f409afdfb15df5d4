#pragma once

// What each characteristic-curve criterion compares at one point: its
// residuals r = fixed side - moved side, with the moved side's slope and
// curvature in its ability. The criteria (and their derivatives in A and B)
// and the criteria's mixed derivatives in the items' parameters are built on
// these two definitions, so each criterion is written once.
#include <cstddef>

#include "irteq/input.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

// Haebara: every category an item is compared in is a residual of its own,
// of weight 1: each category, but an "L3" item's correct response alone.
// fixed and moved are the item's category probabilities on the two sides,
// slope and curvature the moved ones' derivatives (curvature may be null:
// 0 is passed then). Calls visit(r, slope, curvature, category) in category order.
template <class Visit>
void haebara_residuals(const Item& item, const double* fixed, const double* moved, const double* slope,
                       const double* curvature, Visit&& visit) {
  const std::size_t m = item.category_scores.size();
  for (std::size_t k = model_facts(item.model).first_compared_category; k < m; ++k) {
    visit(fixed[k] - moved[k], slope[k], curvature ? curvature[k] : 0.0, k);
  }
}

// Stocking-Lord: one residual per point, the difference of the two sides'
// true scores: every category of every item, weighted by its score, added
// item by item in order.
struct StockingLordResidual {
  double difference = 0.0;
  double slope = 0.0;
  double curvature = 0.0;

  static double weight(const Item& item, std::size_t category) {
    return static_cast<double>(item.category_scores[category]);
  }
  void add(const Item& item, const double* fixed, const double* moved, const double* moved_slope,
           const double* moved_curvature) {
    for (std::size_t k = 0; k < item.category_scores.size(); ++k) {
      const double u = weight(item, k);
      difference += u * fixed[k];
      difference -= u * moved[k];
      slope += u * moved_slope[k];
      if (moved_curvature) curvature += u * moved_curvature[k];
    }
  }
};

}  // namespace irteq
