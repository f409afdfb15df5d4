// The result sections of the report, after the echo of the inputs: the true
// score table, both forms' marginal distributions, the observed score
// equivalents and the raw, scale and rounded scale score moments, in fixed
// fields.
#include <span>
#include <string>
#include <string_view>

#include "common/fixed_field.hpp"
#include "irteq/files.hpp"
#include "report/report_sections.hpp"

namespace irteq {

void write_heading(const LineSink& line, std::string_view title) {
  line({});
  line({});
  line(title);
  line({});
}

namespace {

void write_true_scores(const EquatingResult& result, const LineSink& line) {
  write_heading(line, "true score equating output");
  line("x-raw   theta       y-equiv     scale     rounded");
  const TrueScoreEquating& t = result.true_score;
  for (std::size_t i = 0; i < result.x.raw_scores.size(); ++i) {
    std::string text;
    append_fixed(text, result.x.raw_scores[i], 4, 0);
    append_fixed(text, t.thetas[i], 12, 6);
    append_fixed(text, t.equivalents[i], 12, 6);
    append_fixed(text, t.scale[i], 12, 6);
    append_fixed(text, t.rounded[i], 6, 0);
    line(text);
  }
}

void write_distributions(const LineSink& line, std::string_view header, const FormDistributions& form) {
  line(header);
  for (std::size_t i = 0; i < form.raw_scores.size(); ++i) {
    std::string text;
    append_fixed(text, form.raw_scores[i], 4, 0);
    append_fixed(text, form.group1[i], 12, 8);
    append_fixed(text, form.group2[i], 12, 8);
    append_fixed(text, form.synthetic[i], 12, 8);
    line(text);
  }
}

void write_observed_scores(const EquatingResult& result, const LineSink& line) {
  write_heading(line, "observed score equivalents");
  line("x-raw    y-equiv     scale    rounded");
  const ObservedScoreEquating& o = result.observed_score;
  for (std::size_t i = 0; i < result.x.raw_scores.size(); ++i) {
    std::string text;
    append_fixed(text, result.x.raw_scores[i], 4, 0);
    append_fixed(text, o.equivalents[i], 12, 6);
    append_fixed(text, o.scale[i], 12, 6);
    append_fixed(text, o.rounded[i], 6, 0);
    line(text);
  }
}

// The report's words for the rows of its moments tables.
std::string_view block_heading(MomentsBlock block) {
  switch (block) {
    case MomentsBlock::raw:
      return "raw score moments";
    case MomentsBlock::scale:
      return "scale score moments";
    case MomentsBlock::rounded:
      return "rounded scale score moments";
  }
  return {};
}

// The report's score column: X and Y padded, the equivalents as trquiv and obquiv.
std::string_view score_label(MomentsScore score) {
  switch (score) {
    case MomentsScore::x:
      return "X  ";
    case MomentsScore::y:
      return "Y  ";
    case MomentsScore::true_score:
      return "trquiv";
    case MomentsScore::observed_score:
      return "obquiv";
  }
  return {};
}

// "   1     X  ", "   s     Y  ", "   1  trquiv", "   1  obquiv".
std::string row_label(const MomentsRow& row) {
  std::string label = "   ";
  label += moments_group_name(row.group);
  append_text_right(label, score_label(row.score), 8);
  return label;
}

void write_moments(const EquatingResult& result, const LineSink& line) {
  const MomentsRow* previous = nullptr;
  for (const MomentsRow& row : result.moments) {
    if (previous == nullptr || row.block != previous->block) {
      write_heading(line, block_heading(row.block));
      line(" group  score  mean        sd     skew    kurt");
    }
    previous = &row;
    std::string text = row_label(row);
    append_fixed(text, row.moments.mean, 9, 4);
    append_fixed(text, row.moments.sd, 9, 4);
    append_fixed(text, row.moments.skewness, 9, 4);
    append_fixed(text, row.moments.kurtosis, 9, 4);
    line(text);
  }
}

}  // namespace

void write_report(const EquatingResult& result, const LineSink& line) {
  write_true_scores(result, line);
  write_heading(line, "observed score equating output");
  line("marginal distribution form y");
  line({});
  write_distributions(line, "y-raw     grp 1       grp 2       grp s", result.y);
  write_heading(line, "marginal distribution form x");
  write_distributions(line, "x-raw     grp 1       grp 2       grp s", result.x);
  write_observed_scores(result, line);
  write_moments(result, line);
}

void write_report(const RunResult& result, const RunOptions& options, const LineSink& line) {
  if (result.linking) write_linking_section(*result.linking, line);
  write_report(result.equating, line);
  if (result.standard_errors) write_standard_errors_section(result, options, line);
  if (result.tables) write_tables_section(result, line);
}

}  // namespace irteq
