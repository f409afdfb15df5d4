#include "driver/run_steps.hpp"

#include <span>
#include <string>

#include "common/run_error.hpp"
#include "input/read_form.hpp"
#include "observed/equipercentile_equivalents.hpp"
#include "observed/marginal_score_distribution.hpp"
#include "observed/raw_to_scale.hpp"
#include "observed/round_scale_scores.hpp"
#include "observed/score_range.hpp"
#include "observed/synthetic_distribution.hpp"
#include "truescore/true_score_equivalents.hpp"

namespace irteq {

void read_inputs(RunData& run, ReportFile& report) {
  report.write_line("form y input");
  read_form(Form::y, run.file_names, report, run.items_y, run.grid_group2, run.scale_table, run.w2);
  report.write_empty_line();
  report.write_empty_line();
  report.write_line("form x input");
  read_form(Form::x, run.file_names, report, run.items_x, run.grid_group1, run.scale_table, run.w2);
}

void check_run_sizes(const RunData& run) {
  const auto check_range = [](const ItemSet& items, const char* form, const std::string& file_name) {
    const ScoreRange range = score_range(items);
    if (range.point_count() > max_score_points) {
      throw RunError(std::string(form) + " (" + file_name + ") has raw scores from " + std::to_string(range.lowest) +
                     " to " + std::to_string(range.highest) + ", " + std::to_string(range.point_count()) +
                     " score points; a form may have at most " + std::to_string(max_score_points));
    }
    return range.point_count();
  };
  const long long y_points = check_range(run.items_y, "form Y", run.file_names[slot_old_para]);
  check_range(run.items_x, "form X", run.file_names[slot_new_para]);
  if (run.scale_table.row_count < y_points) {
    throw RunError(run.file_names[slot_raw2scale] + " has " + std::to_string(run.scale_table.row_count) +
                   " rows, but form Y has " + std::to_string(y_points) + " score points; it needs one row for each");
  }
}

void compute_distributions(RunData& run) {
  marginal_score_distribution(run.items_y, run.grid_group2, run.y_group2);
  marginal_score_distribution(run.items_y, run.grid_group1, run.y_group1);
  marginal_score_distribution(run.items_x, run.grid_group1, run.x_group1);
  marginal_score_distribution(run.items_x, run.grid_group2, run.x_group2);
  synthetic_distribution(run.y_group1, run.y_group2, run.w2, run.y_synthetic);
  synthetic_distribution(run.x_group1, run.x_group2, run.w2, run.x_synthetic);
}

void compute_equivalents(RunData& run, Console& console) {
  const auto nx = static_cast<std::size_t>(run.x_group1.point_count);
  const auto ny = static_cast<std::size_t>(run.y_group2.point_count);
  const auto x_points = [nx](PerScorePoint& values) { return std::span<double>(values.data(), nx); };
  const std::span<const double> x_raw(run.x_group1.raw_scores.data(), nx);
  const std::span<const double> y_raw(run.y_group2.raw_scores.data(), ny);

  equipercentile_equivalents(run.x_synthetic, run.y_synthetic, x_points(run.observed_equivalents));
  true_score_equivalents(run.items_y, run.items_x, x_raw, y_raw, x_points(run.thetas), x_points(run.true_equivalents),
                         console);
  raw_to_scale(x_points(run.true_equivalents), y_raw, run.scale_table, x_points(run.true_scale));
  raw_to_scale(x_points(run.observed_equivalents), y_raw, run.scale_table, x_points(run.observed_scale));
  round_scale_scores(x_points(run.true_scale), x_points(run.true_rounded));
  round_scale_scores(x_points(run.observed_scale), x_points(run.observed_rounded));
}

}  // namespace irteq
