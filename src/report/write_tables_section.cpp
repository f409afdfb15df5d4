// The report's technical tables, after everything else: the conversion with
// reported scores and performance levels, the summed-score EAP tables, the
// conditional standard errors of measurement by theta and by raw score, the
// reliabilities and, with cut scores, the classification indices; in fixed
// fields as the rest of the report, a blank field where a value is not had.
#include <algorithm>
#include <string>
#include <vector>

#include "common/fixed_field.hpp"
#include "common/number_text.hpp"
#include "report/report_sections.hpp"

namespace irteq {

namespace {

// The width of the level column: its longest name, at least "level".
std::size_t level_width(const ReportTables& tables) {
  std::size_t width = 5;
  for (const std::string& name : tables.cut_scores->levels) width = std::max(width, name.size());
  return width;
}

// A level's name after two blanks, padded to the column's width unless it ends the line; nothing without cuts.
void append_level(std::string& text, const ReportTables& tables, const std::vector<int>& levels, std::size_t i,
                  bool last) {
  if (!tables.cut_scores) return;
  const std::string& name = tables.cut_scores->levels[static_cast<std::size_t>(levels[i])];
  text += "  ";
  text += name;
  if (!last) text.append(level_width(tables) - name.size(), ' ');
}

void append_level_label(std::string& text, const ReportTables& tables, bool last) {
  if (!tables.cut_scores) return;
  text += "  level";
  if (!last) text.append(level_width(tables) - 5, ' ');
}

void write_conversion(const EquatingResult& result, const ReportTables& tables, const LineSink& line) {
  const ConversionTable& c = tables.conversion;
  const bool levels = tables.cut_scores.has_value();  // form Y's table only
  write_heading(line, "conversion of form x raw scores: reported scale scores rounded and clamped to [" +
                    std::to_string(tables.scale_min) + ", " + std::to_string(tables.scale_max) + "]");
  std::string header = "x-raw";
  append_text_right(header, "true-equiv", 12);
  append_text_right(header, "true-scale", 12);
  append_text_right(header, "reported", 10);
  append_level_label(header, tables, false);
  append_text_right(header, "obs-equiv", 12);
  append_text_right(header, "obs-scale", 12);
  append_text_right(header, "reported", 10);
  append_level_label(header, tables, true);
  line(header);
  for (std::size_t i = 0; i < result.x.raw_scores.size(); ++i) {
    std::string text;
    append_fixed(text, result.x.raw_scores[i], 5, 0);
    append_fixed(text, result.true_score.equivalents[i], 12, 6);
    append_fixed(text, result.true_score.scale[i], 12, 6);
    append_fixed(text, c.true_reported[i], 10, 0);
    append_level(text, tables, c.true_level, i, false);
    append_fixed(text, result.observed_score.equivalents[i], 12, 6);
    append_fixed(text, result.observed_score.scale[i], 12, 6);
    append_fixed(text, c.observed_reported[i], 10, 0);
    append_level(text, tables, c.observed_level, i, true);
    line(text);
  }
  write_heading(line, "form y reported scale scores");
  line(levels ? "y-raw  reported  level" : "y-raw  reported");
  for (std::size_t i = 0; i < result.y.raw_scores.size(); ++i) {
    std::string text;
    append_fixed(text, result.y.raw_scores[i], 5, 0);
    append_fixed(text, c.y_reported[i], 10, 0);
    append_level(text, tables, c.y_level, i, true);
    line(text);
  }
}

void write_eap(const EapTable& table, const std::string& title, const LineSink& line) {
  write_heading(line, title);
  line("  raw   probability         eap          sd");
  for (std::size_t r = 0; r < table.raw_scores.size(); ++r) {
    std::string text;
    append_fixed(text, table.raw_scores[r], 5, 0);
    append_fixed(text, table.probabilities[r], 14, 10);
    append_optional_fixed(text, table.eap[r], 12, 6);
    append_optional_fixed(text, table.sd[r], 12, 6);
    line(text);
  }
}

// The CSEMs of one form, by grid point or by raw score, one column per metric in the tables' order.
std::vector<std::vector<const CsemRow*>> csem_columns(const ReportTables& tables, TableForm form, bool by_raw) {
  std::vector<std::vector<const CsemRow*>> columns;
  const CsemRow* previous = nullptr;
  for (const CsemRow& row : tables.csem) {
    if (row.form != form || row.raw_score.has_value() != by_raw) continue;
    if (!previous || previous->equating != row.equating || previous->metric != row.metric) columns.emplace_back();
    columns.back().push_back(&row);
    previous = &row;
  }
  return columns;
}

std::string column_label(const CsemRow& row) {
  const std::string metric(table_metric_name(row.metric));
  switch (row.equating) {
    case TableEquating::true_score:
      return "true " + metric;
    case TableEquating::observed_score:
      return "obs " + metric;
    case TableEquating::none:
      break;
  }
  return metric;
}

void write_csem(const ReportTables& tables, TableForm form, bool by_raw, const std::string& title,
                const LineSink& line) {
  const std::vector<std::vector<const CsemRow*>> columns = csem_columns(tables, form, by_raw);
  if (columns.empty()) return;
  write_heading(line, title);
  std::string header = by_raw ? "x-raw       theta" : "       theta";
  for (const auto& column : columns) append_text_right(header, column_label(*column.front()), 15);
  line(header);
  for (std::size_t i = 0; i < columns.front().size(); ++i) {
    std::string text;
    if (by_raw) append_fixed(text, *columns.front()[i]->raw_score, 5, 0);
    append_fixed(text, columns.front()[i]->theta, 12, 6);
    for (const auto& column : columns) append_fixed(text, column[i]->csem, 15, 6);
    line(text);
  }
}

void write_reliability(const ReportTables& tables, const LineSink& line) {
  write_heading(line, "reliability: 1 - mean conditional error variance over the group / score variance");
  line("form  group  equating  metric      reliability");
  for (const ReliabilityRow& r : tables.reliability) {
    std::string text;
    append_text_right(text, table_form_name(r.form), 4);
    append_integer(text, r.group, 7);
    append_text_right(text, table_equating_name(r.equating), 10);
    append_text_right(text, table_metric_name(r.metric), 10);
    append_fixed(text, r.reliability, 17, 6);
    line(text);
  }
}

void write_classification(const ReportTables& tables, const LineSink& line) {
  if (tables.classification.empty()) return;
  write_heading(line, "classification accuracy and consistency of the reported levels (lee, 2010)");
  line("form  group  equating         cut    accuracy consistency   false pos   false neg       kappa");
  for (const ClassificationRow& c : tables.classification) {
    std::string text;
    append_text_right(text, table_form_name(c.form), 4);
    append_integer(text, c.group, 7);
    append_text_right(text, table_equating_name(c.equating), 10);
    append_optional_fixed(text, c.cut, 12, 3);
    append_fixed(text, c.accuracy, 12, 6);
    append_fixed(text, c.consistency, 12, 6);
    append_fixed(text, c.false_positive, 12, 6);
    append_fixed(text, c.false_negative, 12, 6);
    append_optional_fixed(text, c.kappa, 12, 6);
    line(text);
  }
  line({});
  line("cut empty: every level at once, false positives a level above the true one, false negatives below");
  std::string levels = "levels:";
  const CutScores& cuts = *tables.cut_scores;
  for (std::size_t k = 0; k < cuts.levels.size(); ++k) {
    levels += ' ' + cuts.levels[k] + (k < cuts.cuts.size() ? " | " + shortest_text(cuts.cuts[k]) : "");
  }
  line(levels);
}

}  // namespace

void write_tables_section(const RunResult& result, const LineSink& line) {
  const ReportTables& tables = *result.tables;
  const EquatingResult& equating = result.equating;
  write_heading(line, "technical report tables");
  line("scores as reported: the rounded scale score clamped to the scale's range");
  write_conversion(equating, tables, line);
  write_eap(tables.eap_y, "summed-score eap: form y over group 2's grid", line);
  write_eap(tables.eap_x, "summed-score eap: form x over group 1's grid", line);
  write_csem(tables, TableForm::x, false, "conditional standard errors of measurement: form x in group 1, by theta",
             line);
  write_csem(tables, TableForm::y, false, "conditional standard errors of measurement: form y in group 2, by theta",
             line);
  write_csem(tables, TableForm::x, true,
             "conditional standard errors of measurement: form x by raw score, at its true score theta", line);
  write_reliability(tables, line);
  write_classification(tables, line);
}

}  // namespace irteq
