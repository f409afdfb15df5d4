#include "driver/write_results.hpp"

#include <span>
#include <string>
#include <string_view>

#include "common/fixed_field.hpp"
#include "observed/score_moments.hpp"

namespace irteq {

namespace {

// The entries of an array indexed by a form's score points.
std::span<const double> over(const PerScorePoint& values, const ScoreDistribution& form) {
  return {values.data(), static_cast<std::size_t>(form.point_count)};
}

void write_heading(ReportFile& report, std::string_view title) {
  report.write_empty_line();
  report.write_empty_line();
  report.write_line(title);
  report.write_empty_line();
}

void write_true_scores(const RunData& run, ReportFile& report) {
  write_heading(report, "true score equating output");
  report.write_line("x-raw   theta       y-equiv     scale     rounded");
  for (int i = 0; i < run.x_group1.point_count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    std::string line;
    append_fixed(line, run.x_group1.raw_scores[at], 4, 0);
    append_fixed(line, run.thetas[at], 12, 6);
    append_fixed(line, run.true_equivalents[at], 12, 6);
    append_fixed(line, run.true_scale[at], 12, 6);
    append_fixed(line, run.true_rounded[at], 6, 0);
    report.write_line(line);
  }
}

void write_distributions(ReportFile& report, std::string_view header, const ScoreDistribution& group1,
                         const ScoreDistribution& group2, const ScoreDistribution& synthetic) {
  report.write_line(header);
  for (int i = 0; i < group1.point_count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    std::string line;
    append_fixed(line, group1.raw_scores[at], 4, 0);
    append_fixed(line, group1.probabilities[at], 12, 8);
    append_fixed(line, group2.probabilities[at], 12, 8);
    append_fixed(line, synthetic.probabilities[at], 12, 8);
    report.write_line(line);
  }
}

void write_observed_scores(const RunData& run, ReportFile& report) {
  write_heading(report, "observed score equivalents");
  report.write_line("x-raw    y-equiv     scale    rounded");
  for (int i = 0; i < run.x_group1.point_count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    std::string line;
    append_fixed(line, run.x_group1.raw_scores[at], 4, 0);
    append_fixed(line, run.observed_equivalents[at], 12, 6);
    append_fixed(line, run.observed_scale[at], 12, 6);
    append_fixed(line, run.observed_rounded[at], 6, 0);
    report.write_line(line);
  }
}

// Each row's moments are computed just before the row is written.
void write_moments_row(ReportFile& report, std::string_view label, std::span<const double> values,
                       std::span<const double> weights) {
  const Moments moments = score_moments(values, weights);
  std::string line(label);
  append_fixed(line, moments.mean, 9, 4);
  append_fixed(line, moments.sd, 9, 4);
  append_fixed(line, moments.skewness, 9, 4);
  append_fixed(line, moments.kurtosis, 9, 4);
  report.write_line(line);
}

void write_moments_heading(ReportFile& report, std::string_view title) {
  write_heading(report, title);
  report.write_line(" group  score  mean        sd     skew    kurt");
}

}  // namespace

void write_results(const RunData& run, ReportFile& report) {
  const ScoreDistribution& x1 = run.x_group1;
  const ScoreDistribution& x2 = run.x_group2;
  const ScoreDistribution& xs = run.x_synthetic;
  const ScoreDistribution& y1 = run.y_group1;
  const ScoreDistribution& y2 = run.y_group2;
  const ScoreDistribution& ys = run.y_synthetic;

  write_true_scores(run, report);

  write_heading(report, "observed score equating output");
  report.write_line("marginal distribution form y");
  report.write_empty_line();
  write_distributions(report, "y-raw     grp 1       grp 2       grp s", y1, y2, ys);
  write_heading(report, "marginal distribution form x");
  write_distributions(report, "x-raw     grp 1       grp 2       grp s", x1, x2, xs);

  write_observed_scores(run, report);

  // Equivalents and form Y's scale columns are weighted by the distribution of
  // the group that took the form they belong to: form X in group 1, form Y in group 2.
  write_moments_heading(report, "raw score moments");
  write_moments_row(report, "   1     X  ", over(x1.raw_scores, x1), over(x1.probabilities, x1));
  write_moments_row(report, "   2     X  ", over(x2.raw_scores, x2), over(x2.probabilities, x2));
  write_moments_row(report, "   s     X  ", over(xs.raw_scores, xs), over(xs.probabilities, xs));
  write_moments_row(report, "   1     Y  ", over(y1.raw_scores, y1), over(y1.probabilities, y1));
  write_moments_row(report, "   2     Y  ", over(y2.raw_scores, y2), over(y2.probabilities, y2));
  write_moments_row(report, "   s     Y  ", over(ys.raw_scores, ys), over(ys.probabilities, ys));
  write_moments_row(report, "   1  trquiv", over(run.true_equivalents, x1), over(x1.probabilities, x1));
  write_moments_row(report, "   1  obquiv", over(run.observed_equivalents, x1), over(x1.probabilities, x1));

  write_moments_heading(report, "scale score moments");
  write_moments_row(report, "   2     Y  ", over(run.scale_table.scale, y2), over(y2.probabilities, y2));
  write_moments_row(report, "   1  trquiv", over(run.true_scale, x1), over(x1.probabilities, x1));
  write_moments_row(report, "   1  obquiv", over(run.observed_scale, x1), over(x1.probabilities, x1));

  write_moments_heading(report, "rounded scale score moments");
  write_moments_row(report, "   2     Y  ", over(run.scale_table.rounded, y2), over(y2.probabilities, y2));
  write_moments_row(report, "   1  trquiv", over(run.true_rounded, x1), over(x1.probabilities, x1));
  write_moments_row(report, "   1  obquiv", over(run.observed_rounded, x1), over(x1.probabilities, x1));
}

}  // namespace irteq
