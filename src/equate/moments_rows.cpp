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
  const auto row = [](const char* block, const char* group, const char* score, std::span<const double> values,
                      std::span<const double> weights) {
    return MomentsRow{block, group, score, score_moments(values, weights)};
  };
  return {
      row("raw", "1", "X", x.raw_scores, x.group1),
      row("raw", "2", "X", x.raw_scores, x.group2),
      row("raw", "s", "X", x.raw_scores, x.synthetic),
      row("raw", "1", "Y", y.raw_scores, y.group1),
      row("raw", "2", "Y", y.raw_scores, y.group2),
      row("raw", "s", "Y", y.raw_scores, y.synthetic),
      row("raw", "1", "true", result.true_score.equivalents, x.group1),
      row("raw", "1", "observed", result.observed_score.equivalents, x.group1),
      row("scale", "2", "Y", y_scale, y.group2),
      row("scale", "1", "true", result.true_score.scale, x.group1),
      row("scale", "1", "observed", result.observed_score.scale, x.group1),
      row("rounded", "2", "Y", y_rounded, y.group2),
      row("rounded", "1", "true", result.true_score.rounded, x.group1),
      row("rounded", "1", "observed", result.observed_score.rounded, x.group1),
  };
}

}  // namespace irteq
