#include "driver/check_finite_results.hpp"

#include <cmath>
#include <string>

#include "common/run_error.hpp"

namespace irteq {

namespace {

// The raw score of the first value that is not finite, as text; empty when all are finite.
std::string first_not_finite(const PerScorePoint& values, const ScoreDistribution& scores) {
  for (int i = 0; i < scores.point_count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    // Raw scores are whole numbers well within the range of a long long.
    if (!std::isfinite(values[at])) return std::to_string(static_cast<long long>(scores.raw_scores[at]));
  }
  return {};
}

void check_distribution(const ScoreDistribution& distribution, const std::string& which, const std::string& cause) {
  const std::string raw = first_not_finite(distribution.probabilities, distribution);
  if (!raw.empty()) {
    throw RunError(which + " is not a finite number at raw score " + raw + "; " + cause);
  }
}

void check_per_point(const PerScorePoint& values, const ScoreDistribution& x_scores, const std::string& which,
                     const std::string& cause) {
  const std::string raw = first_not_finite(values, x_scores);
  if (!raw.empty()) throw RunError(which + " of form X raw score " + raw + " is not a finite number; " + cause);
}

}  // namespace

void check_distributions_are_finite(const RunData& run) {
  const FileNames& f = run.file_names;
  const auto models = [&](const std::string& items, const std::string& grid) {
    return "the item parameters of " + items + " or the quadrature points of " + grid +
           " are beyond what the models can evaluate";
  };
  check_distribution(run.y_group2, "form Y's distribution in group 2", models(f[slot_old_para], f[slot_old_quad]));
  check_distribution(run.y_group1, "form Y's distribution in group 1", models(f[slot_old_para], f[slot_new_quad]));
  check_distribution(run.x_group1, "form X's distribution in group 1", models(f[slot_new_para], f[slot_new_quad]));
  check_distribution(run.x_group2, "form X's distribution in group 2", models(f[slot_new_para], f[slot_old_quad]));
  const std::string weight = "check w2 in " + f[slot_raw2scale];
  check_distribution(run.y_synthetic, "form Y's synthetic distribution", weight);
  check_distribution(run.x_synthetic, "form X's synthetic distribution", weight);
}

void check_equivalents_are_finite(const RunData& run) {
  const FileNames& f = run.file_names;
  const ScoreDistribution& x = run.x_group1;
  const std::string models =
      "the item parameters of " + f[slot_new_para] + " or " + f[slot_old_para] + " are beyond what the models can evaluate";
  const std::string table = "check the raw-to-scale table " + f[slot_raw2scale];
  check_per_point(run.thetas, x, "the theta", models);
  check_per_point(run.true_equivalents, x, "the true score equivalent", models);
  check_per_point(run.observed_equivalents, x, "the observed score equivalent", "check w2 in " + f[slot_raw2scale]);
  check_per_point(run.true_scale, x, "the scale score of the true score equivalent", table);
  check_per_point(run.observed_scale, x, "the scale score of the observed score equivalent", table);
  check_per_point(run.true_rounded, x, "the rounded scale score of the true score equivalent", table);
  check_per_point(run.observed_rounded, x, "the rounded scale score of the observed score equivalent", table);
}

}  // namespace irteq
