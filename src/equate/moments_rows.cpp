#include "equate/moments_rows.hpp"

#include <span>

#include "observed/score_moments.hpp"

namespace irteq {

std::vector<MomentsRow> moments_rows(const EquatingResult& result, const ScaleTable& table) {
  const FormDistributions& x = result.x;
  const FormDistributions& y = result.y;
  // The scale table's columns, row j for form Y's j-th score point.
  const std::span<const double> y_scale(table.scale.data(), y.raw_scores.size());
  const std::span<const double> y_rounded(table.rounded.data(), y.raw_scores.size());
  const auto row = [](MomentsBlock block, MomentsGroup group, MomentsScore score, std::span<const double> values,
                      std::span<const double> weights) {
    return MomentsRow{block, group, score, score_moments(values, weights)};
  };
  using B = MomentsBlock;
  using G = MomentsGroup;
  using S = MomentsScore;
  return {
      row(B::raw, G::group1, S::x, x.raw_scores, x.group1),
      row(B::raw, G::group2, S::x, x.raw_scores, x.group2),
      row(B::raw, G::synthetic, S::x, x.raw_scores, x.synthetic),
      row(B::raw, G::group1, S::y, y.raw_scores, y.group1),
      row(B::raw, G::group2, S::y, y.raw_scores, y.group2),
      row(B::raw, G::synthetic, S::y, y.raw_scores, y.synthetic),
      row(B::raw, G::group1, S::true_score, result.true_score.equivalents, x.group1),
      row(B::raw, G::group1, S::observed_score, result.observed_score.equivalents, x.group1),
      row(B::scale, G::group2, S::y, y_scale, y.group2),
      row(B::scale, G::group1, S::true_score, result.true_score.scale, x.group1),
      row(B::scale, G::group1, S::observed_score, result.observed_score.scale, x.group1),
      row(B::rounded, G::group2, S::y, y_rounded, y.group2),
      row(B::rounded, G::group1, S::true_score, result.true_score.rounded, x.group1),
      row(B::rounded, G::group1, S::observed_score, result.observed_score.rounded, x.group1),
  };
}

}  // namespace irteq
