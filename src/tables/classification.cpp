// Lee's (2010) IRT classification indices: accuracy, the agreement of the
// reported level with the true one; consistency, the agreement of two
// independent administrations, sum_k P(k | theta)^2; Cohen's kappa of the
// consistency against the levels' marginal proportions; and, at each cut,
// the two ways of landing on the wrong side of it.
#include "tables/classification.hpp"

#include <algorithm>
#include <array>

namespace irteq {

namespace {

// Cohen's kappa of a consistency against marginal proportions; none unless
// at least two levels have any probability.
std::optional<double> kappa(double consistency, std::span<const double> proportions) {
  int levels = 0;
  double chance = 0.0;
  for (const double p : proportions) {
    if (p > 0.0) ++levels;
    chance += p * p;
  }
  if (levels < 2) return std::nullopt;
  return (consistency - chance) / (1.0 - chance);
}

// One cut's weighted sums over theta: P(at or above | theta)^2 + P(below |
// theta)^2, P(at or above | theta), and the two false classifications.
struct CutSums {
  double consistency = 0.0;
  double above = 0.0;
  double false_positive = 0.0;
  double false_negative = 0.0;
};

}  // namespace

std::vector<ClassificationRow> classification_rows(TableForm form, int group, TableEquating equating,
                                                   const ConditionalRows& rows, std::span<const double> weights,
                                                   std::span<const double> reported, const std::vector<double>& cuts) {
  const std::size_t levels = cuts.size() + 1;
  std::vector<int> level_of(reported.size());
  for (std::size_t x = 0; x < reported.size(); ++x) level_of[x] = performance_level(cuts, reported[x]);

  const auto [low, high] = std::minmax_element(reported.begin(), reported.end());
  const double lowest = *low;
  const double highest = *high;
  double total = 0.0;
  double accuracy = 0.0;
  double consistency = 0.0;
  double higher = 0.0;  // a reported level above the true one
  double lower = 0.0;   // below it
  std::vector<double> proportions(levels, 0.0);
  std::vector<CutSums> per_cut(cuts.size());
  std::vector<double> p(levels);
  for (std::size_t q = 0; q < weights.size(); ++q) {
    const std::span<const double> L = rows.row(q);
    std::fill(p.begin(), p.end(), 0.0);
    double row_total = 0.0;
    double expected = 0.0;
    for (std::size_t x = 0; x < L.size(); ++x) {
      p[static_cast<std::size_t>(level_of[x])] += L[x];
      row_total += L[x];
      expected += L[x] * reported[x];
    }
    for (double& value : p) value /= row_total;
    // A mean of the reported scores, kept within them against rounding: a
    // score every examinee reaches must not read as one just below it.
    expected = std::clamp(expected / row_total, lowest, highest);
    const auto true_level = static_cast<std::size_t>(performance_level(cuts, expected));
    const double w = weights[q];
    total += w;
    accuracy += w * p[true_level];
    double agreement = 0.0;
    double above_true = 0.0;
    double below_true = 0.0;
    for (std::size_t k = 0; k < levels; ++k) {
      agreement += p[k] * p[k];
      proportions[k] += w * p[k];
      if (k > true_level) above_true += p[k];
      if (k < true_level) below_true += p[k];
    }
    higher += w * above_true;
    lower += w * below_true;
    consistency += w * agreement;
    double at_or_above = 0.0;  // P(level >= c + 1 | theta), from the top down
    for (std::size_t c = cuts.size(); c-- > 0;) {
      at_or_above += p[c + 1];
      const double below = 1.0 - at_or_above;
      CutSums& sums = per_cut[c];
      sums.consistency += w * (at_or_above * at_or_above + below * below);
      sums.above += w * at_or_above;
      if (true_level <= c) {
        sums.false_positive += w * at_or_above;
      } else {
        sums.false_negative += w * below;
      }
    }
  }
  for (double& value : proportions) value /= total;

  std::vector<ClassificationRow> out;
  // Overall, a false positive is any level above the true one, a false negative any below it.
  ClassificationRow overall{form,           group,          equating,      std::nullopt, accuracy / total,
                            consistency / total, higher / total, lower / total, std::nullopt};
  overall.kappa = kappa(overall.consistency, proportions);
  out.push_back(overall);
  for (std::size_t c = 0; c < cuts.size(); ++c) {
    const CutSums& sums = per_cut[c];
    ClassificationRow row{form, group, equating, cuts[c], 0.0, sums.consistency / total,
                          sums.false_positive / total, sums.false_negative / total, std::nullopt};
    row.accuracy = 1.0 - row.false_positive - row.false_negative;
    const double share = sums.above / total;
    const std::array<double, 2> sides{1.0 - share, share};
    row.kappa = kappa(row.consistency, sides);
    out.push_back(row);
  }
  return out;
}

}  // namespace irteq
