// How well each anchor fits once linked: an item whose parameters drifted
// between the calibrations keeps a large expected-score difference that the
// common transformation cannot remove; its sign says which form finds the
// item easier.
#include "linking/anchor_fit.hpp"

#include <array>
#include <cmath>

#include "irteq/limits.hpp"
#include "models/category_probabilities.hpp"

namespace irteq {

namespace {

double expected_item_score(const Item& item, double theta) {
  std::array<double, max_categories> p{};
  category_probabilities(item, theta, p);
  double sum = 0.0;
  for (std::size_t k = 0; k < item.category_scores.size(); ++k) {
    sum += static_cast<double>(item.category_scores[k]) * p[k];
  }
  return sum;
}

}  // namespace

std::vector<AnchorFit> anchor_fit(std::span<const Item> linked_x, std::span<const Item> items_y,
                                  std::span<const CommonItemPositions> common, const QuadratureGrid& group2) {
  std::vector<AnchorFit> fits;
  for (std::size_t i = 0; i < common.size(); ++i) {
    const Item& x = linked_x[common[i].x];
    const Item& y = items_y[common[i].y];
    double sum = 0.0;
    double mean = 0.0;
    for (std::size_t q = 0; q < group2.points.size(); ++q) {
      const double difference = expected_item_score(y, group2.points[q]) - expected_item_score(x, group2.points[q]);
      sum += group2.weights[q] * difference * difference;
      mean += group2.weights[q] * difference;
    }
    AnchorFit& fit = fits.emplace_back();
    fit.x_number = x.number;
    fit.y_number = y.number;
    fit.x_label = x.label;
    fit.y_label = y.label;
    fit.model = x.model;
    fit.rmsd = std::sqrt(sum);
    fit.mean_difference = mean;
  }
  return fits;
}

}  // namespace irteq
