#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "irteq/input.hpp"
#include "irteq/result.hpp"

namespace irteq {

// Performance levels on form Y's scale: K cut scores, each the scale score
// at which a level starts, strictly increasing and within [scale_min,
// scale_max]; K + 1 levels, lowest first. A reported score s is in level k
// (from 0) when k cuts are at or below it.
struct CutScores {
  std::vector<double> cuts{};
  std::vector<std::string> levels{};  // K + 1 names; "1" ... "K+1" when unnamed
  std::string name = "cut scores";    // what messages call them: the file name when read from a file
  std::vector<int> lines{};           // each cut's line of the file, for messages; empty when built in memory
};

// The cut scores checked against form Y's scale table: at least one cut,
// finite, strictly increasing, within [scale_min, scale_max], and K + 1 level
// names (an empty list is filled with "1" ... "K+1"). Throws Error naming the
// cut and, from a file, its line.
CutScores checked_cut_scores(CutScores cuts, const ScaleTable& scale_table);

// The level of a reported score: how many cuts are at or below it.
int performance_level(const std::vector<double>& cuts, double reported);

// The tables of a technical report, over the (linked) equating's input and
// result. Forms and groups as the equating has them: form X in group 1,
// form Y in group 2; the equating methods of form X's conversion are the
// true score and the observed score equating.
enum class TableForm : unsigned char { x, y };
enum class TableEquating : unsigned char { none, true_score, observed_score };  // none: form Y's own table, or raw scores
enum class TableMetric : unsigned char { raw, scale, reported };                 // reported: rounded and clamped
// "X", "Y"; "", "true", "observed"; "raw", "scale", "reported".
std::string_view table_form_name(TableForm form);
std::string_view table_equating_name(TableEquating equating);
std::string_view table_metric_name(TableMetric metric);

// Per form X raw score: each method's reported score (rounded scale score
// clamped to [scale_min, scale_max]) and, with cuts, its level; per form Y
// raw score the same of its table's rounded column. Levels are empty without cuts.
struct ConversionTable {
  std::vector<double> true_reported;
  std::vector<double> observed_reported;
  std::vector<int> true_level;
  std::vector<int> observed_level;
  std::vector<double> y_reported;
  std::vector<int> y_level;
};

// Summed-score EAP (Thissen, Pommerich, Billeaud and Williams, 1995): for
// each raw score r, with L_r(theta) its conditional probability and w the
// grid's normalised weights, probability P(r) = sum_q w_q L_r(theta_q) (the
// marginal distribution, bit for bit), eap = sum_q w_q theta_q L_r / P(r),
// sd = sqrt(sum_q w_q (theta_q - eap)^2 L_r / P(r)); none where P(r) = 0.
struct EapTable {
  std::vector<double> raw_scores;
  std::vector<double> probabilities;
  std::vector<std::optional<double>> eap;
  std::vector<std::optional<double>> sd;
};

// A conditional standard error of measurement: the standard deviation of a
// score given theta around its conditional mean. By grid point (raw_score
// empty) or by form X raw score (theta the one true score equating found, or
// group 1's lowest or highest grid point where it searched none).
struct CsemRow {
  TableForm form = TableForm::x;
  int group = 1;
  TableEquating equating = TableEquating::none;
  TableMetric metric = TableMetric::raw;
  double theta = 0.0;
  std::optional<double> raw_score;
  double csem = 0.0;
};

// 1 - sum_q w_q csem^2(theta_q) / var(score), the variance from the group's
// marginal distribution.
struct ReliabilityRow {
  TableForm form = TableForm::x;
  int group = 1;
  TableEquating equating = TableEquating::none;
  TableMetric metric = TableMetric::raw;
  double reliability = 0.0;
};

// Classification accuracy and consistency (Lee, 2010) of the reported
// scores' levels: overall (cut empty; false_positive a reported level above
// the true one, false_negative below it) or at one cut, as the joint
// proportions false_positive (reported at or above the cut, true level
// below) and false_negative (reported below, true at or above); kappa empty
// unless two levels have any probability.
struct ClassificationRow {
  TableForm form = TableForm::x;
  int group = 1;
  TableEquating equating = TableEquating::none;
  std::optional<double> cut;
  double accuracy = 0.0;
  double consistency = 0.0;
  double false_positive = 0.0;
  double false_negative = 0.0;
  std::optional<double> kappa;
};

struct ReportTables {
  int scale_min = 0;  // the reported scores' range, form Y's scale table's
  int scale_max = 0;
  std::optional<CutScores> cut_scores;  // as checked
  ConversionTable conversion;
  EapTable eap_x;  // form X on group 1's grid (on form Y's scale when the run links)
  EapTable eap_y;  // form Y on group 2's grid
  std::vector<CsemRow> csem;
  std::vector<ReliabilityRow> reliability;
  std::vector<ClassificationRow> classification;  // with cut scores only
};

// The tables of an equating: input as equated (linked when the run links),
// result its equating, cut_scores optional. Throws Error on cut scores that
// do not fit the scale table.
ReportTables report_tables(const EquatingInput& input, const EquatingResult& result,
                           const std::optional<CutScores>& cut_scores);

// The summed-score EAP table of any items over any grid (weights normalised).
EapTable eap_table(const std::vector<Item>& items, const QuadratureGrid& grid, const std::string& name = "items");

}  // namespace irteq
