// Summed-score EAP (Thissen, Pommerich, Billeaud and Williams, 1995): the
// posterior mean and standard deviation of theta given a raw score, from the
// same conditional distributions the marginal distribution adds up, so that
// P(r) is that distribution, bit for bit.
#include "tables/eap_table.hpp"

#include <cmath>

#include "common/floating_point_mode.hpp"
#include "irteq/validate.hpp"
#include "models/normalised_grid.hpp"
#include "models/prepare_items.hpp"
#include "observed/marginal_score_distribution.hpp"

namespace irteq {

EapTable eap_from_rows(const ConditionalRows& rows, const QuadratureGrid& grid, std::span<const double> raw_scores,
                       std::span<const double> marginal) {
  EapTable table;
  table.raw_scores.assign(raw_scores.begin(), raw_scores.end());
  table.probabilities.assign(marginal.begin(), marginal.end());
  for (std::size_t r = 0; r < rows.points; ++r) {
    const double p = marginal[r];
    if (!(p > 0.0)) {
      table.eap.emplace_back();
      table.sd.emplace_back();
      continue;
    }
    double sum = 0.0;
    for (std::size_t q = 0; q < grid.points.size(); ++q) sum += grid.weights[q] * grid.points[q] * rows.row(q)[r];
    const double eap = sum / p;
    double spread = 0.0;
    for (std::size_t q = 0; q < grid.points.size(); ++q) {
      const double d = grid.points[q] - eap;
      spread += grid.weights[q] * d * d * rows.row(q)[r];
    }
    table.eap.emplace_back(eap);
    table.sd.emplace_back(std::sqrt(spread / p));
  }
  return table;
}

EapTable eap_table(const std::vector<Item>& items, const QuadratureGrid& grid, const std::string& name) {
  const FloatingPointMode mode;
  validate_items(items, name);
  validate_grid(grid, "grid");
  const std::vector<Item> prepared = prepare_items(items);
  const QuadratureGrid normalised = normalised_grid(grid);
  const ScoreDistribution marginal = marginal_score_distribution(prepared, normalised);
  return eap_from_rows(conditional_rows(prepared, normalised.points), normalised, marginal.raw_scores,
                       marginal.probabilities);
}

}  // namespace irteq
