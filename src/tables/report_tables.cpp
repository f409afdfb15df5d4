// The tables of a technical report, all sums over the conditional score
// distributions of the equating's forms: form X's on group 1's grid (and at
// the thetas true score equating found), form Y's on group 2's, each score
// converted as the equating reports it.
#include <algorithm>

#include "common/floating_point_mode.hpp"
#include "irteq/tables.hpp"
#include "models/normalised_grid.hpp"
#include "models/prepare_items.hpp"
#include "tables/classification.hpp"
#include "tables/conditional_rows.hpp"
#include "tables/eap_table.hpp"

namespace irteq {

namespace {

// A score a form's raw scores convert to, and its name in the tables.
struct Metric {
  TableEquating equating = TableEquating::none;
  TableMetric metric = TableMetric::raw;
  std::vector<double> scores;
};

std::vector<double> clamped(std::span<const double> rounded, const ScaleTable& table) {
  std::vector<double> out;
  for (const double s : rounded) {
    out.push_back(std::clamp(s, static_cast<double>(table.scale_min), static_cast<double>(table.scale_max)));
  }
  return out;
}

std::vector<int> levels(const std::optional<CutScores>& cuts, const std::vector<double>& reported) {
  std::vector<int> out;
  if (!cuts) return out;
  for (const double s : reported) out.push_back(performance_level(cuts->cuts, s));
  return out;
}

// Every grid point's CSEM of each metric, and each metric's reliability in the group.
void add_csem_by_theta(TableForm form, int group, const ConditionalRows& rows, const QuadratureGrid& grid,
                       std::span<const double> marginal, const std::vector<Metric>& metrics, ReportTables& tables) {
  for (const Metric& m : metrics) {
    double error_variance = 0.0;
    for (std::size_t q = 0; q < grid.points.size(); ++q) {
      const double csem = conditional_sd(rows.row(q), m.scores);
      tables.csem.push_back({form, group, m.equating, m.metric, grid.points[q], std::nullopt, csem});
      error_variance += grid.weights[q] * csem * csem;
    }
    tables.reliability.push_back(
        {form, group, m.equating, m.metric, 1.0 - error_variance / weighted_variance(marginal, m.scores)});
  }
}

// The theta each form X raw score stands at: true score equating's, or
// group 1's lowest or highest grid point where it searched none.
std::vector<double> raw_score_thetas(const TrueScoreEquating& true_score, const QuadratureGrid& group1) {
  const auto [lowest, highest] = std::minmax_element(group1.points.begin(), group1.points.end());
  std::vector<double> thetas;
  for (std::size_t i = 0; i < true_score.thetas.size(); ++i) {
    switch (true_score.theta_kinds[i]) {
      case ThetaKind::searched:
        thetas.push_back(true_score.thetas[i]);
        break;
      case ThetaKind::linear:
        thetas.push_back(*lowest);
        break;
      case ThetaKind::top:
        thetas.push_back(*highest);
        break;
    }
  }
  return thetas;
}

}  // namespace

ReportTables report_tables(const EquatingInput& input, const EquatingResult& result,
                           const std::optional<CutScores>& cut_scores) {
  const FloatingPointMode mode;
  ReportTables tables;
  const ScaleTable& scale = input.scale_table;
  tables.scale_min = scale.scale_min;
  tables.scale_max = scale.scale_max;
  if (cut_scores) tables.cut_scores = checked_cut_scores(*cut_scores, scale);
  const std::optional<CutScores>& cuts = tables.cut_scores;

  const std::size_t y_points = result.y.raw_scores.size();
  const std::vector<double> y_scale(scale.scale.begin(), scale.scale.begin() + static_cast<std::ptrdiff_t>(y_points));
  const std::vector<double> y_rounded(scale.rounded.begin(),
                                      scale.rounded.begin() + static_cast<std::ptrdiff_t>(y_points));
  ConversionTable& conversion = tables.conversion;
  conversion.true_reported = clamped(result.true_score.rounded, scale);
  conversion.observed_reported = clamped(result.observed_score.rounded, scale);
  conversion.y_reported = clamped(y_rounded, scale);
  conversion.true_level = levels(cuts, conversion.true_reported);
  conversion.observed_level = levels(cuts, conversion.observed_reported);
  conversion.y_level = levels(cuts, conversion.y_reported);

  const std::vector<Item> items_x = prepare_items(input.items_x);
  const std::vector<Item> items_y = prepare_items(input.items_y);
  const QuadratureGrid group1 = normalised_grid(input.grid_group1);
  const QuadratureGrid group2 = normalised_grid(input.grid_group2);
  const ConditionalRows x_rows = conditional_rows(items_x, group1.points);
  const ConditionalRows y_rows = conditional_rows(items_y, group2.points);
  tables.eap_x = eap_from_rows(x_rows, group1, result.x.raw_scores, result.x.group1);
  tables.eap_y = eap_from_rows(y_rows, group2, result.y.raw_scores, result.y.group2);

  const std::vector<Metric> x_metrics{
      {TableEquating::none, TableMetric::raw, result.x.raw_scores},
      {TableEquating::true_score, TableMetric::scale, result.true_score.scale},
      {TableEquating::true_score, TableMetric::reported, conversion.true_reported},
      {TableEquating::observed_score, TableMetric::scale, result.observed_score.scale},
      {TableEquating::observed_score, TableMetric::reported, conversion.observed_reported}};
  const std::vector<Metric> y_metrics{{TableEquating::none, TableMetric::raw, result.y.raw_scores},
                                      {TableEquating::none, TableMetric::scale, y_scale},
                                      {TableEquating::none, TableMetric::reported, conversion.y_reported}};
  add_csem_by_theta(TableForm::x, 1, x_rows, group1, result.x.group1, x_metrics, tables);
  add_csem_by_theta(TableForm::y, 2, y_rows, group2, result.y.group2, y_metrics, tables);

  // Form X's raw scores at their own thetas.
  const std::vector<double> thetas = raw_score_thetas(result.true_score, group1);
  const ConditionalRows at_raw = conditional_rows(items_x, thetas);
  for (const Metric& m : x_metrics) {
    for (std::size_t i = 0; i < thetas.size(); ++i) {
      tables.csem.push_back({TableForm::x, 1, m.equating, m.metric, thetas[i], result.x.raw_scores[i],
                             conditional_sd(at_raw.row(i), m.scores)});
    }
  }

  if (cuts) {
    const auto add = [&](std::vector<ClassificationRow> rows) {
      tables.classification.insert(tables.classification.end(), rows.begin(), rows.end());
    };
    add(classification_rows(TableForm::x, 1, TableEquating::true_score, x_rows, group1.weights,
                            conversion.true_reported, cuts->cuts));
    add(classification_rows(TableForm::x, 1, TableEquating::observed_score, x_rows, group1.weights,
                            conversion.observed_reported, cuts->cuts));
    add(classification_rows(TableForm::y, 2, TableEquating::none, y_rows, group2.weights, conversion.y_reported,
                            cuts->cuts));
  }
  return tables;
}

}  // namespace irteq
