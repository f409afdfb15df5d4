#include "equate/check_finite_results.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "irteq/error.hpp"

namespace irteq {

namespace {

void check(const std::vector<double>& values, const std::vector<double>& raw_scores, InputPart input,
           const std::string& which, const std::string& cause, bool per_x_point) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (std::isfinite(values[i])) continue;
    // Raw scores are whole numbers well within the range of a long long.
    const std::string raw = std::to_string(static_cast<long long>(raw_scores[i]));
    const std::string message = per_x_point ? which + " of form X raw score " + raw + " is not a finite number; " + cause
                                            : which + " is not a finite number at raw score " + raw + "; " + cause;
    throw Error(message, {.code = ErrorCode::not_finite, .input = input, .score_point = static_cast<int>(i + 1)});
  }
}

}  // namespace

void check_distributions_are_finite(const EquatingResult& result, const InputNames& names) {
  const auto models = [&](const std::string& items, const std::string& grid) {
    return "the item parameters of " + items + " or the quadrature points of " + grid +
           " are beyond what the models can evaluate";
  };
  const std::vector<double>& x = result.x.raw_scores;
  const std::vector<double>& y = result.y.raw_scores;
  check(result.y.group2, y, InputPart::items_y, "form Y's distribution in group 2",
        models(names.items_y, names.grid_group2), false);
  check(result.y.group1, y, InputPart::items_y, "form Y's distribution in group 1",
        models(names.items_y, names.grid_group1), false);
  check(result.x.group1, x, InputPart::items_x, "form X's distribution in group 1",
        models(names.items_x, names.grid_group1), false);
  check(result.x.group2, x, InputPart::items_x, "form X's distribution in group 2",
        models(names.items_x, names.grid_group2), false);
  const std::string weight = "check w2 in " + names.scale_table;
  check(result.y.synthetic, y, InputPart::scale_table, "form Y's synthetic distribution", weight, false);
  check(result.x.synthetic, x, InputPart::scale_table, "form X's synthetic distribution", weight, false);
}

void check_equivalents_are_finite(const EquatingResult& result, const InputNames& names) {
  const std::vector<double>& x = result.x.raw_scores;
  const std::string models = "the item parameters of " + names.items_x + " or " + names.items_y +
                             " are beyond what the models can evaluate";
  const std::string table = "check the raw-to-scale table " + names.scale_table;
  const TrueScoreEquating& t = result.true_score;
  const ObservedScoreEquating& o = result.observed_score;
  check(t.thetas, x, InputPart::items_x, "the theta", models, true);
  check(t.equivalents, x, InputPart::items_x, "the true score equivalent", models, true);
  check(o.equivalents, x, InputPart::scale_table, "the observed score equivalent", "check w2 in " + names.scale_table,
        true);
  check(t.scale, x, InputPart::scale_table, "the scale score of the true score equivalent", table, true);
  check(o.scale, x, InputPart::scale_table, "the scale score of the observed score equivalent", table, true);
  check(t.rounded, x, InputPart::scale_table, "the rounded scale score of the true score equivalent", table, true);
  check(o.rounded, x, InputPart::scale_table, "the rounded scale score of the observed score equivalent", table, true);
}

}  // namespace irteq
