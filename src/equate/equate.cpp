// One equating of form X to form Y, from checked input to every result the
// report prints, in the order the methods need: the four marginal
// distributions and true score equating, the two synthetic distributions,
// observed score equating on the synthetic ones, the scale and rounded scale
// scores of both, the moments.
#include "irteq/equate.hpp"

#include <vector>

#include "common/floating_point_mode.hpp"
#include "common/score_distribution.hpp"
#include "equate/check_finite_results.hpp"
#include "equate/independent_stages.hpp"
#include "equate/moments_rows.hpp"
#include "models/normalised_grid.hpp"
#include "models/prepare_items.hpp"
#include "observed/adjust_zero_probabilities.hpp"
#include "observed/equipercentile_equivalents.hpp"
#include "observed/raw_to_scale.hpp"
#include "observed/round_scale_scores.hpp"
#include "observed/synthetic_distribution.hpp"
#include "validate/scale_table_problems.hpp"

namespace irteq {

namespace {

// Both groups' distributions of one form and its synthetic one, as the result holds them.
FormDistributions form_distributions(ScoreDistribution group1, ScoreDistribution group2,
                                     ScoreDistribution synthetic) {
  return {std::move(group1.raw_scores), std::move(group1.probabilities), std::move(group2.probabilities),
          std::move(synthetic.probabilities), false};
}

}  // namespace

EquatingResult equate(const EquatingInput& input, const EquatingOptions& options) {
  const FloatingPointMode mode;
  validate_root_tolerance(options.root_tolerance);
  validate(input);
  const std::vector<Item> items_y = prepare_items(input.items_y);
  const std::vector<Item> items_x = prepare_items(input.items_x);
  const QuadratureGrid group1 = normalised_grid(input.grid_group1);
  const QuadratureGrid group2 = normalised_grid(input.grid_group2);

  // Form Y in groups 2 and 1, form X in groups 1 and 2, and true score
  // equating, which needs none of them (on options.threads threads); then
  // both synthetic distributions.
  IndependentStages stages =
      independent_stages(items_y, items_x, group1, group2, options.threads, options.root_tolerance);
  ScoreDistribution y_synthetic = synthetic_distribution(stages.y_group1, stages.y_group2, input.w2);
  ScoreDistribution x_synthetic = synthetic_distribution(stages.x_group1, stages.x_group2, input.w2);
  EquatingResult result;
  result.y = form_distributions(std::move(stages.y_group1), std::move(stages.y_group2), std::move(y_synthetic));
  result.x = form_distributions(std::move(stages.x_group1), std::move(stages.x_group2), std::move(x_synthetic));
  check_distributions_are_finite(result, input.names);

  // Observed score equating sees, and the report prints, the synthetic
  // distributions after the adjustment of near-zero probabilities.
  result.x.synthetic_adjusted = adjust_zero_probabilities(result.x.synthetic);
  result.y.synthetic_adjusted = adjust_zero_probabilities(result.y.synthetic);
  result.observed_score.equivalents =
      equipercentile_equivalents(result.x.synthetic, result.y.synthetic, result.y.raw_scores);

  result.true_score = std::move(stages.true_score);
  result.warnings = std::move(stages.warnings);

  TrueScoreEquating& true_score = result.true_score;
  ObservedScoreEquating& observed = result.observed_score;
  true_score.scale = raw_to_scale(true_score.equivalents, result.y.raw_scores, input.scale_table);
  observed.scale = raw_to_scale(observed.equivalents, result.y.raw_scores, input.scale_table);
  true_score.rounded = round_scale_scores(true_score.scale);
  observed.rounded = round_scale_scores(observed.scale);
  check_equivalents_are_finite(result, input.names);

  result.moments = moments_rows(result, input.scale_table);
  result.input_warnings = scale_table_warnings(input.scale_table, result.y.raw_scores, input.names.scale_table);
  return result;
}

}  // namespace irteq
