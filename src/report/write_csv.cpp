// The results as tidy CSV files for scripts: one header line, commas,
// LF line ends, and numbers that read back to the same doubles (the shortest
// such text, by std::to_chars; NaN, Inf and -Inf as R and Python read them).
#include <charconv>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "common/shown_number.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/run.hpp"
#include "irteq/run_record.hpp"
#include "irteq/standard_errors.hpp"
#include "report/csv_files.hpp"

namespace irteq {

namespace {

// Appends the fields of one row, each after a comma but the first.
class Row {
 public:
  explicit Row(std::string& csv) : csv_(csv) {}
  Row& text(std::string_view field) {
    if (!first_) csv_ += ',';
    first_ = false;
    csv_ += field;
    return *this;
  }
  Row& number(double value) {
    if (std::isnan(value)) return text("NaN");
    if (std::isinf(value)) return text(value < 0 ? "-Inf" : "Inf");
    char digits[32];  // at most 24 characters
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    if (error != std::errc{}) throw std::length_error("write_csv: no room for the digits");
    return text(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  ~Row() { csv_ += '\n'; }

 private:
  std::string& csv_;
  bool first_ = true;
};

[[noreturn]] void fail(const std::string& message, const std::filesystem::path& path) {
  throw Error(message, {.code = ErrorCode::file_error, .input = InputPart::csv, .source = path.string()});
}

std::string equivalents_csv(const EquatingResult& result) {
  std::string csv =
      "raw,theta,true_equivalent,true_scale,true_rounded,observed_equivalent,observed_scale,observed_rounded\n";
  const TrueScoreEquating& t = result.true_score;
  const ObservedScoreEquating& o = result.observed_score;
  for (std::size_t i = 0; i < result.x.raw_scores.size(); ++i) {
    Row row(csv);
    row.number(result.x.raw_scores[i]);
    // The report's -99 and 99 mark points without a search: no ability was found there.
    if (t.theta_kinds[i] == ThetaKind::searched) {
      row.number(t.thetas[i]);
    } else {
      row.text("");
    }
    row.number(t.equivalents[i]).number(t.scale[i]).number(t.rounded[i]);
    row.number(o.equivalents[i]).number(o.scale[i]).number(o.rounded[i]);
  }
  return csv;
}

std::string distributions_csv(const EquatingResult& result) {
  std::string csv = "form,raw,group1,group2,synthetic\n";
  for (const auto& [form, d] : {std::pair{"X", &result.x}, std::pair{"Y", &result.y}}) {
    for (std::size_t i = 0; i < d->raw_scores.size(); ++i) {
      Row(csv).text(form).number(d->raw_scores[i]).number(d->group1[i]).number(d->group2[i]).number(d->synthetic[i]);
    }
  }
  return csv;
}

std::string moments_csv(const EquatingResult& result) {
  std::string csv = "block,group,score,mean,sd,skewness,kurtosis\n";
  for (const MomentsRow& row : result.moments) {
    const Moments& m = row.moments;
    Row(csv)
        .text(moments_block_name(row.block))
        .text(moments_group_name(row.group))
        .text(moments_score_name(row.score))
        .number(m.mean)
        .number(m.sd)
        .number(m.skewness)
        .number(m.kurtosis);
  }
  return csv;
}

void make_folder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) fail("cannot create the CSV folder " + folder.string() + ": " + error.message(), folder);
  if (!std::filesystem::is_directory(folder)) fail("cannot write into " + folder.string() + ": not a folder", folder);
}

// A value that is absent is an empty field.
void optional_number(Row& row, const std::optional<double>& value) {
  if (value) {
    row.number(*value);
  } else {
    row.text("");
  }
}

// A method the common items could not give has no constants; se_A and se_B
// are there when the delta method ran.
std::string linking_csv(const LinkingResult& linking) {
  std::string csv = "method,A,B,criterion,applied,se_A,se_B\n";
  for (const MethodConstants& method : linking.methods) {
    Row row(csv);
    row.text(linking_method_name(method.method));
    optional_number(row, method.A);
    optional_number(row, method.B);
    optional_number(row, method.available() ? method.criterion : std::nullopt);
    row.text(method.method == linking.applied ? "1" : "0");
    optional_number(row, method.se_A);
    optional_number(row, method.se_B);
  }
  return csv;
}

// A route's column is empty when it was not run.
std::string standard_errors_csv(const EquatingResult& result, const StandardErrors& errors) {
  std::string csv = "raw,equating,metric,delta_se,draws_se,draws_lower,draws_upper\n";
  const std::pair<const char*, const PointStandardErrors*> tables[] = {{"true", &errors.true_raw},
                                                                       {"true", &errors.true_scale},
                                                                       {"observed", &errors.observed_raw},
                                                                       {"observed", &errors.observed_scale}};
  for (std::size_t t = 0; t < 4; ++t) {
    const PointStandardErrors& e = *tables[t].second;
    for (std::size_t i = 0; i < result.x.raw_scores.size(); ++i) {
      Row row(csv);
      row.number(result.x.raw_scores[i]).text(tables[t].first).text(t % 2 == 0 ? "raw" : "scale");
      optional_number(row, e.delta ? std::optional((*e.delta)[i]) : std::nullopt);
      if (e.draws) {
        const DrawSpread& spread = (*e.draws)[i];
        row.number(spread.sd).number(spread.lower).number(spread.upper);
      } else {
        row.text("").text("").text("");
      }
    }
  }
  return csv;
}

std::string csv_field(std::string_view text);

std::string common_items_csv(const LinkingResult& linking) {
  std::string csv =
      "x_item,y_item,model,rmsd,mean_difference,z_slope,z_location,wald,wald_df,wald_p,flagged,removed_round,x_label,"
      "y_label\n";
  for (const AnchorFit& anchor : linking.anchors) {
    Row row(csv);
    row.text(std::to_string(anchor.x_number)).text(std::to_string(anchor.y_number)).text(item_code(anchor.model));
    row.number(anchor.rmsd).number(anchor.mean_difference);
    optional_number(row, anchor.z_slope);
    optional_number(row, anchor.z_location);
    optional_number(row, anchor.wald);
    row.text(anchor.wald_df ? std::to_string(*anchor.wald_df) : "");
    optional_number(row, anchor.wald_p);
    row.text(anchor.flagged ? "1" : "0").text(std::to_string(anchor.removed_round));
    row.text(csv_field(anchor.x_label)).text(csv_field(anchor.y_label));
  }
  return csv;
}

// The conversion table: each form X raw score's equivalents, reported scores and levels (empty without cuts).
std::string conversion_csv(const EquatingResult& result, const ReportTables& tables) {
  std::string csv =
      "raw,true_equivalent,true_scale,true_reported,true_level,observed_equivalent,observed_scale,observed_reported,"
      "observed_level\n";
  const ConversionTable& c = tables.conversion;
  const auto level = [&](const std::vector<int>& levels, std::size_t i) {
    return levels.empty() ? std::string() : csv_field(tables.cut_scores->levels[static_cast<std::size_t>(levels[i])]);
  };
  for (std::size_t i = 0; i < result.x.raw_scores.size(); ++i) {
    Row row(csv);
    row.number(result.x.raw_scores[i]).number(result.true_score.equivalents[i]).number(result.true_score.scale[i]);
    row.number(c.true_reported[i]).text(level(c.true_level, i));
    row.number(result.observed_score.equivalents[i]).number(result.observed_score.scale[i]);
    row.number(c.observed_reported[i]).text(level(c.observed_level, i));
  }
  return csv;
}

std::string eap_csv(const ReportTables& tables) {
  std::string csv = "form,raw,probability,eap,sd\n";
  for (const auto& [form, table] : {std::pair{"X", &tables.eap_x}, std::pair{"Y", &tables.eap_y}}) {
    for (std::size_t r = 0; r < table->raw_scores.size(); ++r) {
      Row row(csv);
      row.text(form).number(table->raw_scores[r]).number(table->probabilities[r]);
      optional_number(row, table->eap[r]);
      optional_number(row, table->sd[r]);
    }
  }
  return csv;
}

std::string csem_csv(const ReportTables& tables) {
  std::string csv = "form,group,equating,metric,theta,raw,csem\n";
  for (const CsemRow& c : tables.csem) {
    Row row(csv);
    row.text(table_form_name(c.form)).text(std::to_string(c.group)).text(table_equating_name(c.equating));
    row.text(table_metric_name(c.metric)).number(c.theta);
    optional_number(row, c.raw_score);
    row.number(c.csem);
  }
  return csv;
}

std::string reliability_csv(const ReportTables& tables) {
  std::string csv = "form,group,equating,metric,reliability\n";
  for (const ReliabilityRow& r : tables.reliability) {
    Row(csv).text(table_form_name(r.form)).text(std::to_string(r.group)).text(table_equating_name(r.equating)).text(
        table_metric_name(r.metric)).number(r.reliability);
  }
  return csv;
}

std::string classification_csv(const ReportTables& tables) {
  std::string csv = "form,group,equating,cut,accuracy,consistency,false_positive,false_negative,kappa\n";
  for (const ClassificationRow& c : tables.classification) {
    Row row(csv);
    row.text(table_form_name(c.form)).text(std::to_string(c.group)).text(table_equating_name(c.equating));
    optional_number(row, c.cut);
    row.number(c.accuracy).number(c.consistency).number(c.false_positive).number(c.false_negative);
    optional_number(row, c.kappa);
  }
  return csv;
}

// For the titles of the linked files, within their 79 columns: linking.csv has every digit.
std::string constants_text(const LinkingResult& linking) {
  return std::string(linking_method_name(linking.applied)) + ", A = " + shown_number(linking.A) +
         ", B = " + shown_number(linking.B);
}

// A field as CSV quotes it when it must: file names and command lines may hold commas and quotes.
std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string run_record_csv(const RunRecord& record) {
  std::string csv = "field,name,value,path,bytes,sha256\n";
  const auto row = [&](std::string_view field, std::string_view name, std::string_view value,
                       std::string_view path = "", std::string_view bytes = "", std::string_view sha256 = "") {
    Row(csv).text(field).text(csv_field(name)).text(csv_field(value)).text(csv_field(path)).text(bytes).text(sha256);
  };
  row("version", "", record.version);
  row("time", "", record.time);
  row("front_end", "", record.front_end);
  for (const auto& [name, value] : record.options) row("option", name, value);
  for (const InputFileRecord& file : record.files) {
    row("input", file.role, file.name, file.path, file.size ? std::to_string(*file.size) : "", file.sha256);
  }
  if (record.files.empty()) row("input", "", "none: built in memory");
  return csv;
}

// The files of a run, its linking's, its standard errors' and its tables' when it has them.
void write_run_csv(const EquatingResult& result, const LinkingResult* linking, const StandardErrors* errors,
                   const ReportTables* tables, const RunRecord* record, const std::filesystem::path& folder) {
  make_folder(folder);
  std::vector<CsvFile> files{{"equivalents.csv", equivalents_csv(result)},
                             {"distributions.csv", distributions_csv(result)},
                             {"moments.csv", moments_csv(result)}};
  if (linking) {
    std::ostringstream items;
    write_items(linking->items_x, items, "form x linked onto form y's scale: " + constants_text(*linking));
    std::ostringstream grid;
    write_grid(linking->grid_group1, grid, "group 1 linked onto form y's scale: " + constants_text(*linking));
    files.push_back({"linking.csv", linking_csv(*linking)});
    files.push_back({"common_items.csv", common_items_csv(*linking)});
    files.push_back({"linked_items_x.par", items.str()});
    files.push_back({"linked_grid_group1.qd", grid.str()});
  }
  if (errors) files.push_back({"standard_errors.csv", standard_errors_csv(result, *errors)});
  if (tables) {
    files.push_back({"conversion.csv", conversion_csv(result, *tables)});
    files.push_back({"eap.csv", eap_csv(*tables)});
    files.push_back({"csem.csv", csem_csv(*tables)});
    files.push_back({"reliability.csv", reliability_csv(*tables)});
    if (tables->cut_scores) files.push_back({"classification.csv", classification_csv(*tables)});
  }
  if (record) files.push_back({"run.csv", run_record_csv(*record)});
  replace_csv_files(folder, files);
}

}  // namespace

void write_csv(const EquatingResult& result, const std::filesystem::path& folder) {
  write_run_csv(result, nullptr, nullptr, nullptr, nullptr, folder);
}

void write_csv(const RunResult& result, const std::filesystem::path& folder) {
  write_run_csv(result.equating, result.linking ? &*result.linking : nullptr,
                result.standard_errors ? &*result.standard_errors : nullptr, result.tables ? &*result.tables : nullptr,
                &result.record, folder);
}

void write_run_record(const RunRecord& record, std::ostream& out) { out << run_record_csv(record); }

}  // namespace irteq
