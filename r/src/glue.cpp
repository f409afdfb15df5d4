// Glue between R and the irteq library: R objects into the library's inputs,
// its results into R lists, through the public interface alone. Every entry
// point catches every exception and returns list(value, warnings, error); R
// raises the conditions itself (R/core.R) once the C++ frames are gone, so no
// C++ exception reaches R. Checks and runs are the library's: run() for
// every equating, whether its inputs came from files or from R.
#include <Rcpp.h>
#include <R_ext/Utils.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <irteq/irteq.hpp>

using Rcpp::_;
using Rcpp::CharacterVector;
using Rcpp::IntegerVector;
using Rcpp::List;
using Rcpp::LogicalVector;
using Rcpp::NumericMatrix;
using Rcpp::NumericVector;

namespace {

using Warnings = std::vector<std::string>;

// The user stopped a run (Ctrl-C, Esc) while the library was computing: its
// progress callback returned false and the library threw; this replaces that error.
struct Interrupted {
  std::string message;
};

// R's input is "" where the library names none.
std::string input_text(irteq::InputPart part) {
  return part == irteq::InputPart::none ? std::string() : std::string(irteq::input_part_name(part));
}

List error_list(const std::string& message, const irteq::Diagnostic& d) {
  return List::create(_["message"] = message, _["code"] = std::string(irteq::error_code_name(d.code)),
                      _["input"] = input_text(d.input), _["source"] = d.source, _["line"] = d.line,
                      _["item"] = d.item, _["row"] = d.row, _["score_point"] = d.score_point);
}

List internal_error(const std::string& message) {
  List error = error_list(message, {});
  error["code"] = "internal_error";
  return error;
}

// Runs body(warnings), which returns the value, and packs the outcome for R.
template <class Body>
List guarded(Body&& body) {
  Warnings warnings;
  List error;
  try {
    return List::create(_["value"] = body(warnings), _["warnings"] = warnings, _["error"] = R_NilValue);
  } catch (const Rcpp::LongjumpException&) {
    throw;  // an R error raised inside an R API call: Rcpp resumes it once out of C++
  } catch (const Interrupted& e) {
    error = internal_error(e.message);
    error["code"] = "interrupted";
  } catch (const irteq::Error& e) {
    error = error_list(e.what(), e.diagnostic());
  } catch (const std::bad_alloc&) {
    error = internal_error("out of memory");
  } catch (const std::exception& e) {
    error = internal_error(std::string("internal error: ") + e.what());
  } catch (...) {
    error = internal_error("internal error: unknown exception");
  }
  return List::create(_["value"] = R_NilValue, _["warnings"] = warnings, _["error"] = error);
}

// strict makes every warning of the readers an error (ErrorCode::input_warning).
irteq::ReadOptions collecting(Warnings& warnings, bool strict) {
  irteq::ReadOptions options;
  options.warning = [&warnings](std::string_view line) { warnings.emplace_back(line); };
  options.strict = strict;
  return options;
}

NumericVector doubles(const std::vector<double>& v) { return NumericVector(v.begin(), v.end()); }

// NA where a value is absent.
double or_na(const std::optional<double>& x) { return x ? *x : NA_REAL; }

// ---- items, grids, scale tables and covariances between R and C++ ----

List items_to_r(const std::vector<irteq::Item>& items) {
  const auto n = static_cast<R_xlen_t>(items.size());
  IntegerVector number(n), categories(n);
  CharacterVector label(n), type(n);
  List scores(n), parameters(n);
  for (R_xlen_t i = 0; i < n; ++i) {
    const irteq::Item& item = items[static_cast<std::size_t>(i)];
    number[i] = item.number;
    label[i] = item.label;
    type[i] = std::string(irteq::item_code(item.model));
    categories[i] = static_cast<int>(item.category_scores.size());
    scores[i] = IntegerVector(item.category_scores.begin(), item.category_scores.end());
    parameters[i] = NumericVector(item.parameters.begin(), item.parameters.end());
  }
  return List::create(_["item"] = number, _["label"] = label, _["type"] = type, _["categories"] = categories,
                      _["scores"] = scores, _["parameters"] = parameters);
}

// R has checked the shapes and types (R/checks.R); the codes and values are the library's to check.
std::vector<irteq::Item> items_from_r(const List& x, const std::string& name, irteq::InputPart part) {
  const IntegerVector number = x["item"];
  const CharacterVector type = x["type"];
  const List scores = x["scores"];
  const List parameters = x["parameters"];
  // "" for none; a list built without the column (R/checks.R as_items adds it) has none.
  const CharacterVector label =
      x.containsElementNamed("label") ? CharacterVector(x["label"]) : CharacterVector(number.size(), "");
  std::vector<irteq::Item> items(static_cast<std::size_t>(number.size()));
  for (R_xlen_t i = 0; i < number.size(); ++i) {
    irteq::Item& item = items[static_cast<std::size_t>(i)];
    const IntegerVector s = scores[i];
    const NumericVector p = parameters[i];
    item.number = number[i];
    item.label = label[i];
    item.category_scores.assign(s.begin(), s.end());
    item.parameters.assign(p.begin(), p.end());
    item.model = irteq::checked_item_model(std::string(type[i]), name, static_cast<int>(i + 1), item.number,
                                           static_cast<int>(s.size()), part);
  }
  return items;
}

List grid_to_r(const irteq::QuadratureGrid& grid) {
  return List::create(_["theta"] = doubles(grid.points), _["weight"] = doubles(grid.weights));
}

irteq::QuadratureGrid grid_from_r(const List& x) {
  const NumericVector theta = x["theta"];
  const NumericVector weight = x["weight"];
  return {std::vector<double>(theta.begin(), theta.end()), std::vector<double>(weight.begin(), weight.end())};
}

List scale_to_r(const irteq::ScaleTable& t, double w2) {
  return List::create(_["raw"] = doubles(t.raw), _["scale"] = doubles(t.scale), _["rounded"] = doubles(t.rounded),
                      _["scale_min"] = t.scale_min, _["scale_max"] = t.scale_max, _["w2"] = w2);
}

irteq::ScaleTable scale_from_r(const List& x) {
  const NumericVector raw = x["raw"];
  const NumericVector scale = x["scale"];
  const NumericVector rounded = x["rounded"];
  return {Rcpp::as<int>(x["scale_min"]), Rcpp::as<int>(x["scale_max"]), std::vector<double>(raw.begin(), raw.end()),
          std::vector<double>(scale.begin(), scale.end()), std::vector<double>(rounded.begin(), rounded.end())};
}

// A matrix's "guessing" attribute: "logit" marks a covariance of logit(c) on the L3 c rows.
irteq::GuessingMetric guessing_metric_of(SEXP x) {
  const SEXP guessing = Rf_getAttrib(x, Rf_install("guessing"));
  const bool logit = Rf_isString(guessing) && Rf_length(guessing) == 1 &&
                     std::string(CHAR(STRING_ELT(guessing, 0))) == "logit";
  return logit ? irteq::GuessingMetric::logit : irteq::GuessingMetric::probability;
}

// R has checked the matrix's type: square, numeric, without NA, and its
// "guessing" attribute, absent, "probability" or "logit" (R/standard-errors.R).
std::optional<irteq::Covariance> covariance_from_r(SEXP x) {
  if (Rf_isNull(x)) return std::nullopt;
  const NumericMatrix m(x);
  const auto n = static_cast<std::size_t>(m.nrow());
  irteq::Covariance covariance{n, std::vector<double>(n * n), guessing_metric_of(x)};
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      covariance.values[i * n + j] = m(static_cast<R_xlen_t>(i), static_cast<R_xlen_t>(j));
    }
  }
  return covariance;
}

NumericMatrix covariance_to_r(const irteq::Covariance& c) {
  const auto n = static_cast<R_xlen_t>(c.size);
  NumericMatrix m(n, n);
  for (R_xlen_t i = 0; i < n; ++i) {
    for (R_xlen_t j = 0; j < n; ++j) m(i, j) = c.values[static_cast<std::size_t>(i * n + j)];
  }
  if (c.guessing == irteq::GuessingMetric::logit) m.attr("guessing") = "logit";
  return m;
}

// The forms of a run, named in messages by the arguments of equate() and link() in R.
irteq::EquatingInput forms_from_r(const List& x_items, const List& y_items, const List& x_grid, const List& y_grid) {
  irteq::EquatingInput input;
  input.names = {"x_items", "y_items", "x_grid", "y_grid", "scale"};
  input.items_y = items_from_r(y_items, input.names.items_y, irteq::InputPart::items_y);
  input.items_x = items_from_r(x_items, input.names.items_x, irteq::InputPart::items_x);
  input.grid_group1 = grid_from_r(x_grid);
  input.grid_group2 = grid_from_r(y_grid);
  return input;
}

// R has checked the method's and the screening statistic's names against the
// library's parsers (.linking_method, .screening_statistic); the cut is the library's to check.
// A pair names an item by label where its label is not "" (R/link.R as_pairs).
irteq::LinkingInput linking_from_r(const IntegerVector& x_item, const IntegerVector& y_item,
                                   const CharacterVector& x_label, const CharacterVector& y_label,
                                   const std::string& method, bool symmetric, const std::string& screen, double cut) {
  irteq::LinkingInput linking;
  linking.common_items_name = "common";
  for (R_xlen_t i = 0; i < x_item.size(); ++i) {
    linking.common.push_back({x_item[i], y_item[i], 0, std::string(x_label[i]), std::string(y_label[i])});
  }
  linking.method = irteq::linking_method(method).value_or(irteq::LinkingMethod::stocking_lord);
  linking.symmetric = symmetric;
  linking.screen = irteq::screening_statistic(screen).value_or(irteq::ScreeningStatistic::none);
  linking.cut = cut;
  return linking;
}

irteq::ParameterCovariances covariances_from_r(SEXP x_cov, SEXP y_cov) {
  return {covariance_from_r(x_cov), covariance_from_r(y_cov), "x_cov", "y_cov"};
}

// ---- results into R ----

// The chance score ends true score equating's straight line, for plot().
List equating_to_r(const irteq::EquatingResult& r, double w2) {
  const irteq::TrueScoreEquating& t = r.true_score;
  NumericVector theta(t.thetas.size());
  for (std::size_t i = 0; i < t.thetas.size(); ++i) {
    theta[static_cast<R_xlen_t>(i)] = t.theta_kinds[i] == irteq::ThetaKind::searched ? t.thetas[i] : NA_REAL;
  }
  const List true_score = List::create(_["raw"] = doubles(r.x.raw_scores), _["theta"] = theta,
                                       _["equivalent"] = doubles(t.equivalents), _["scale"] = doubles(t.scale),
                                       _["rounded"] = doubles(t.rounded));
  const irteq::ObservedScoreEquating& o = r.observed_score;
  const List observed = List::create(_["raw"] = doubles(r.x.raw_scores), _["equivalent"] = doubles(o.equivalents),
                                     _["scale"] = doubles(o.scale), _["rounded"] = doubles(o.rounded));

  const std::size_t nx = r.x.raw_scores.size();
  const std::size_t n = nx + r.y.raw_scores.size();
  CharacterVector form(n);
  NumericVector raw(n), group1(n), group2(n), synthetic(n);
  for (std::size_t i = 0; i < n; ++i) {
    const irteq::FormDistributions& d = i < nx ? r.x : r.y;
    const std::size_t j = i < nx ? i : i - nx;
    const auto k = static_cast<R_xlen_t>(i);
    form[k] = i < nx ? "X" : "Y";
    raw[k] = d.raw_scores[j];
    group1[k] = d.group1[j];
    group2[k] = d.group2[j];
    synthetic[k] = d.synthetic[j];
  }
  const List distributions = List::create(_["form"] = form, _["raw"] = raw, _["group1"] = group1,
                                          _["group2"] = group2, _["synthetic"] = synthetic);

  const auto m = static_cast<R_xlen_t>(r.moments.size());
  CharacterVector block(m), group(m), score(m);
  NumericVector mean(m), sd(m), skewness(m), kurtosis(m);
  for (R_xlen_t i = 0; i < m; ++i) {
    const irteq::MomentsRow& row = r.moments[static_cast<std::size_t>(i)];
    block[i] = std::string(irteq::moments_block_name(row.block));
    group[i] = std::string(irteq::moments_group_name(row.group));
    score[i] = std::string(irteq::moments_score_name(row.score));
    mean[i] = row.moments.mean;
    sd[i] = row.moments.sd;
    skewness[i] = row.moments.skewness;
    kurtosis[i] = row.moments.kurtosis;
  }
  const List moments = List::create(_["block"] = block, _["group"] = group, _["score"] = score, _["mean"] = mean,
                                    _["sd"] = sd, _["skewness"] = skewness, _["kurtosis"] = kurtosis);

  const auto w = static_cast<R_xlen_t>(r.warnings.size());
  NumericVector w_raw(w), w_theta(w);
  CharacterVector problem(w), message(w);
  for (R_xlen_t i = 0; i < w; ++i) {
    const irteq::RootFinderWarning& warning = r.warnings[static_cast<std::size_t>(i)];
    w_raw[i] = warning.raw_score;
    problem[i] = std::string(irteq::root_finder_problem_name(warning.problem));
    w_theta[i] = warning.theta;
    message[i] = irteq::warning_message(warning);
  }
  const List warnings =
      List::create(_["raw"] = w_raw, _["problem"] = problem, _["theta"] = w_theta, _["message"] = message);

  return List::create(_["true_score"] = true_score, _["observed_score"] = observed,
                      _["distributions"] = distributions, _["moments"] = moments, _["warnings"] = warnings,
                      _["synthetic_adjusted"] = LogicalVector::create(_["X"] = r.x.synthetic_adjusted,
                                                                      _["Y"] = r.y.synthetic_adjusted),
                      _["w2"] = w2, _["chance_score"] = t.chance_score);
}

// ---- the technical report's tables ----

// R's NA where the CSV files leave a field empty: an equating's name for none, a level without cuts.
Rcpp::String name_or_na(std::string_view name) {
  return name.empty() ? Rcpp::String(NA_STRING) : Rcpp::String(std::string(name));
}

List eap_to_r(const irteq::EapTable& t) {
  NumericVector eap(t.eap.size()), sd(t.sd.size());
  for (std::size_t r = 0; r < t.eap.size(); ++r) {
    eap[static_cast<R_xlen_t>(r)] = or_na(t.eap[r]);
    sd[static_cast<R_xlen_t>(r)] = or_na(t.sd[r]);
  }
  return List::create(_["raw"] = doubles(t.raw_scores), _["probability"] = doubles(t.probabilities), _["eap"] = eap,
                      _["sd"] = sd);
}

// Level names by level, NA throughout without cut scores.
CharacterVector level_names(const std::vector<int>& levels, std::size_t n, const irteq::ReportTables& t) {
  CharacterVector names(static_cast<R_xlen_t>(n), NA_STRING);
  for (std::size_t i = 0; i < levels.size(); ++i) {
    names[static_cast<R_xlen_t>(i)] = t.cut_scores->levels[static_cast<std::size_t>(levels[i])];
  }
  return names;
}

// The columns of the console's conversion.csv, eap.csv, csem.csv,
// reliability.csv and classification.csv (with cut scores only), NA where
// they are empty; and the cut scores as checked, and the reported scores' range.
List tables_to_r(const irteq::EquatingResult& r, const irteq::ReportTables& t) {
  const std::size_t nx = r.x.raw_scores.size();
  const irteq::ConversionTable& c = t.conversion;
  const List conversion = List::create(
      _["raw"] = doubles(r.x.raw_scores), _["true_equivalent"] = doubles(r.true_score.equivalents),
      _["true_scale"] = doubles(r.true_score.scale), _["true_reported"] = doubles(c.true_reported),
      _["true_level"] = level_names(c.true_level, nx, t),
      _["observed_equivalent"] = doubles(r.observed_score.equivalents),
      _["observed_scale"] = doubles(r.observed_score.scale), _["observed_reported"] = doubles(c.observed_reported),
      _["observed_level"] = level_names(c.observed_level, nx, t));

  const List x_eap = eap_to_r(t.eap_x);
  const List y_eap = eap_to_r(t.eap_y);
  const auto x_points = static_cast<R_xlen_t>(t.eap_x.raw_scores.size());
  CharacterVector eap_form(x_points + static_cast<R_xlen_t>(t.eap_y.raw_scores.size()));
  for (R_xlen_t i = 0; i < eap_form.size(); ++i) eap_form[i] = i < x_points ? "X" : "Y";
  const auto joined = [&](const char* column) {
    const NumericVector x = x_eap[column];
    const NumericVector y = y_eap[column];
    NumericVector out(x.size() + y.size());
    std::copy(x.begin(), x.end(), out.begin());
    std::copy(y.begin(), y.end(), out.begin() + x.size());
    return out;
  };
  const List eap = List::create(_["form"] = eap_form, _["raw"] = joined("raw"),
                                _["probability"] = joined("probability"), _["eap"] = joined("eap"),
                                _["sd"] = joined("sd"));

  const auto n = static_cast<R_xlen_t>(t.csem.size());
  CharacterVector form(n), equating(n), metric(n);
  IntegerVector group(n);
  NumericVector theta(n), raw(n), csem(n);
  for (R_xlen_t i = 0; i < n; ++i) {
    const irteq::CsemRow& row = t.csem[static_cast<std::size_t>(i)];
    form[i] = std::string(irteq::table_form_name(row.form));
    group[i] = row.group;
    equating[i] = name_or_na(irteq::table_equating_name(row.equating));
    metric[i] = std::string(irteq::table_metric_name(row.metric));
    theta[i] = row.theta;
    raw[i] = or_na(row.raw_score);
    csem[i] = row.csem;
  }
  const List csem_table = List::create(_["form"] = form, _["group"] = group, _["equating"] = equating,
                                       _["metric"] = metric, _["theta"] = theta, _["raw"] = raw, _["csem"] = csem);

  const auto m = static_cast<R_xlen_t>(t.reliability.size());
  CharacterVector r_form(m), r_equating(m), r_metric(m);
  IntegerVector r_group(m);
  NumericVector reliability(m);
  for (R_xlen_t i = 0; i < m; ++i) {
    const irteq::ReliabilityRow& row = t.reliability[static_cast<std::size_t>(i)];
    r_form[i] = std::string(irteq::table_form_name(row.form));
    r_group[i] = row.group;
    r_equating[i] = name_or_na(irteq::table_equating_name(row.equating));
    r_metric[i] = std::string(irteq::table_metric_name(row.metric));
    reliability[i] = row.reliability;
  }
  List out = List::create(
      _["conversion"] = conversion, _["eap"] = eap, _["csem"] = csem_table,
      _["reliability"] = List::create(_["form"] = r_form, _["group"] = r_group, _["equating"] = r_equating,
                                      _["metric"] = r_metric, _["reliability"] = reliability));
  if (t.cut_scores) {
    const auto k = static_cast<R_xlen_t>(t.classification.size());
    CharacterVector c_form(k), c_equating(k);
    IntegerVector c_group(k);
    NumericVector cut(k), accuracy(k), consistency(k), false_positive(k), false_negative(k), kappa(k);
    for (R_xlen_t i = 0; i < k; ++i) {
      const irteq::ClassificationRow& row = t.classification[static_cast<std::size_t>(i)];
      c_form[i] = std::string(irteq::table_form_name(row.form));
      c_group[i] = row.group;
      c_equating[i] = name_or_na(irteq::table_equating_name(row.equating));
      cut[i] = or_na(row.cut);
      accuracy[i] = row.accuracy;
      consistency[i] = row.consistency;
      false_positive[i] = row.false_positive;
      false_negative[i] = row.false_negative;
      kappa[i] = or_na(row.kappa);
    }
    out.push_back(List::create(_["form"] = c_form, _["group"] = c_group, _["equating"] = c_equating, _["cut"] = cut,
                               _["accuracy"] = accuracy, _["consistency"] = consistency,
                               _["false_positive"] = false_positive, _["false_negative"] = false_negative,
                               _["kappa"] = kappa),
                  "classification");
    out.push_back(List::create(_["cuts"] = doubles(t.cut_scores->cuts),
                               _["levels"] = CharacterVector(t.cut_scores->levels.begin(), t.cut_scores->levels.end())),
                  "cut_scores");
  }
  out.push_back(t.scale_min, "scale_min");
  out.push_back(t.scale_max, "scale_max");
  return out;
}

// Cut scores given in R, as the run's record shows them: no file holds them.
std::vector<std::pair<std::string, std::string>> cut_scores_options(const std::optional<irteq::CutScores>& cuts) {
  if (!cuts) return {};
  std::string values, names;
  for (const double cut : cuts->cuts) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, cut).ptr;
    values.append(values.empty() ? "" : " ").append(buffer, end);
  }
  for (const std::string& level : cuts->levels) {
    names.append(names.empty() ? "\"" : " \"");
    for (const char c : level) names.append(c == '"' ? "\"\"" : std::string(1, c));
    names += '"';
  }
  std::vector<std::pair<std::string, std::string>> options{{"cuts", values}};
  if (!cuts->levels.empty()) options.emplace_back("levels", names);
  return options;
}

// Cut scores given in R, named in messages as equate()'s argument; R has checked
// their types, the library checks the rest (and names the levels "1", ... when none are given).
std::optional<irteq::CutScores> cut_scores_from_r(SEXP cuts, SEXP levels) {
  if (Rf_isNull(cuts)) return std::nullopt;
  const NumericVector values(cuts);
  irteq::CutScores cut_scores;
  cut_scores.cuts.assign(values.begin(), values.end());
  if (!Rf_isNull(levels)) {
    const CharacterVector names(levels);
    for (R_xlen_t i = 0; i < names.size(); ++i) cut_scores.levels.emplace_back(names[i]);
  }
  cut_scores.name = "cuts";
  return cut_scores;
}

// The item of an anchor's number and label (the pair's number or label names one item: link() has checked).
const irteq::Item& numbered(const std::vector<irteq::Item>& items, int number, const std::string& label) {
  return *std::find_if(items.begin(), items.end(),
                       [&](const irteq::Item& item) { return item.number == number && item.label == label; });
}

// The common items in the pairs' order: form X's before and after linking, and form Y's, for plot().
List common_items_to_r(const irteq::LinkingResult& r, const irteq::EquatingInput& forms) {
  std::vector<irteq::Item> x, linked, y;
  for (const irteq::AnchorFit& anchor : r.anchors) {
    x.push_back(numbered(forms.items_x, anchor.x_number, anchor.x_label));
    linked.push_back(numbered(r.items_x, anchor.x_number, anchor.x_label));
    y.push_back(numbered(forms.items_y, anchor.y_number, anchor.y_label));
  }
  return List::create(_["x"] = items_to_r(x), _["x_linked"] = items_to_r(linked), _["y"] = items_to_r(y));
}

// The columns of the console's common_items.csv, NA where a statistic was not
// computed; flagged as R's logical.
List anchors_to_r(const irteq::LinkingResult& r) {
  const auto a = static_cast<R_xlen_t>(r.anchors.size());
  IntegerVector x_item(a), y_item(a), wald_df(a), removed_round(a);
  CharacterVector model(a), x_label(a), y_label(a);
  NumericVector rmsd(a), mean_difference(a), z_slope(a), z_location(a), wald(a), wald_p(a);
  LogicalVector flagged(a);
  for (R_xlen_t i = 0; i < a; ++i) {
    const irteq::AnchorFit& fit = r.anchors[static_cast<std::size_t>(i)];
    x_item[i] = fit.x_number;
    y_item[i] = fit.y_number;
    model[i] = std::string(irteq::item_code(fit.model));
    rmsd[i] = fit.rmsd;
    mean_difference[i] = fit.mean_difference;
    z_slope[i] = or_na(fit.z_slope);
    z_location[i] = or_na(fit.z_location);
    wald[i] = or_na(fit.wald);
    wald_df[i] = fit.wald_df ? *fit.wald_df : NA_INTEGER;
    wald_p[i] = or_na(fit.wald_p);
    flagged[i] = fit.flagged;
    removed_round[i] = fit.removed_round;
    x_label[i] = fit.x_label;
    y_label[i] = fit.y_label;
  }
  return List::create(_["x_item"] = x_item, _["y_item"] = y_item, _["model"] = model, _["rmsd"] = rmsd,
                      _["mean_difference"] = mean_difference, _["z_slope"] = z_slope, _["z_location"] = z_location,
                      _["wald"] = wald, _["wald_df"] = wald_df, _["wald_p"] = wald_p, _["flagged"] = flagged,
                      _["removed_round"] = removed_round, _["x_label"] = x_label, _["y_label"] = y_label);
}

// The rounds of purification, the pairs each flags as "x/y x/y" ("" for none).
List rounds_to_r(const irteq::LinkingResult& r) {
  const auto n = static_cast<R_xlen_t>(r.rounds.size());
  IntegerVector round(n);
  NumericVector A(n), B(n);
  CharacterVector flagged(n);
  for (R_xlen_t i = 0; i < n; ++i) {
    const irteq::ScreeningRound& s = r.rounds[static_cast<std::size_t>(i)];
    round[i] = s.round;
    A[i] = s.A;
    B[i] = s.B;
    std::string pairs;
    for (const std::size_t k : s.flagged) {
      if (!pairs.empty()) pairs += ' ';
      pairs += std::to_string(r.anchors[k].x_number) + "/" + std::to_string(r.anchors[k].y_number);
    }
    flagged[i] = pairs;
  }
  return List::create(_["round"] = round, _["A"] = A, _["B"] = B, _["flagged"] = flagged);
}

// Moment methods have no criterion nor steps: NA there. se_A and se_B come
// when the delta method gave them.
List linking_to_r(const irteq::LinkingResult& r, const irteq::EquatingInput& forms) {
  const R_xlen_t n = static_cast<R_xlen_t>(r.methods.size());
  CharacterVector method(n), problem(n);
  NumericVector A(n), B(n), criterion(n), se_A(n), se_B(n);
  IntegerVector iterations(n);
  LogicalVector available(n);
  bool delta = false;
  for (R_xlen_t i = 0; i < n; ++i) {
    const irteq::MethodConstants& m = r.methods[static_cast<std::size_t>(i)];
    method[i] = std::string(irteq::linking_method_name(m.method));
    A[i] = or_na(m.A);
    B[i] = or_na(m.B);
    criterion[i] = or_na(m.criterion);
    iterations[i] = m.iterations ? *m.iterations : NA_INTEGER;
    available[i] = m.available();
    problem[i] = m.problem;
    se_A[i] = or_na(m.se_A);
    se_B[i] = or_na(m.se_B);
    delta = delta || m.se_A.has_value();
  }
  List methods = List::create(_["method"] = method, _["A"] = A, _["B"] = B, _["criterion"] = criterion,
                              _["iterations"] = iterations, _["available"] = available, _["problem"] = problem);
  if (delta) {
    methods.push_back(se_A, "se_A");
    methods.push_back(se_B, "se_B");
  }

  const bool screened = r.screen != irteq::ScreeningStatistic::none;
  return List::create(_["methods"] = methods, _["method"] = std::string(irteq::linking_method_name(r.applied)),
                      _["symmetric"] = r.symmetric, _["A"] = r.A, _["B"] = r.B,
                      _["screen"] = std::string(irteq::screening_statistic_name(r.screen)),
                      _["cut"] = screened ? Rcpp::wrap(r.cut) : R_NilValue, _["anchors"] = anchors_to_r(r),
                      _["rounds"] = rounds_to_r(r),
                      _["robust_z_notes"] = CharacterVector(r.robust_z_notes.begin(), r.robust_z_notes.end()),
                      _["x_items"] = items_to_r(r.items_x), _["x_grid"] = grid_to_r(r.grid_group1),
                      _["y_grid"] = grid_to_r(forms.grid_group2), _["common_items"] = common_items_to_r(r, forms));
}

// A route's vectors, empty where it was not run; R builds its columns from them.
List point_errors_to_r(const irteq::PointStandardErrors& e) {
  std::vector<double> sd, lower, upper;
  if (e.draws) {
    for (const irteq::DrawSpread& spread : *e.draws) {
      sd.push_back(spread.sd);
      lower.push_back(spread.lower);
      upper.push_back(spread.upper);
    }
  }
  return List::create(_["delta"] = e.delta ? doubles(*e.delta) : NumericVector(), _["draws_sd"] = doubles(sd),
                      _["draws_lower"] = doubles(lower), _["draws_upper"] = doubles(upper));
}

NumericVector constant_errors_to_r(const std::optional<double>& delta, const std::optional<irteq::DrawSpread>& drawn) {
  return NumericVector::create(_["delta"] = or_na(delta), _["draws_sd"] = drawn ? drawn->sd : NA_REAL,
                               _["draws_lower"] = drawn ? drawn->lower : NA_REAL,
                               _["draws_upper"] = drawn ? drawn->upper : NA_REAL);
}

List standard_errors_to_r(const irteq::StandardErrors& e, const std::optional<irteq::LinkingResult>& linking) {
  List out = List::create(_["true_raw"] = point_errors_to_r(e.true_raw),
                          _["true_scale"] = point_errors_to_r(e.true_scale),
                          _["observed_raw"] = point_errors_to_r(e.observed_raw),
                          _["observed_scale"] = point_errors_to_r(e.observed_scale), _["draws"] = e.draws,
                          _["redraws"] = e.redraws);
  CharacterVector form, label;
  IntegerVector item, number, count;
  for (const irteq::InvalidDrawnItem& invalid : e.invalid_items) {
    form.push_back(std::string(1, invalid.form));
    item.push_back(invalid.item), number.push_back(invalid.number), count.push_back(invalid.count);
    label.push_back(invalid.label);
  }
  out["invalid_items"] = List::create(_["form"] = form, _["item"] = item, _["number"] = number, _["label"] = label,
                                      _["count"] = count);
  if (linking) {
    const irteq::MethodConstants& applied = linking->methods[static_cast<std::size_t>(linking->applied)];
    out.push_back(List::create(_["A"] = constant_errors_to_r(applied.se_A, e.A_draws),
                               _["B"] = constant_errors_to_r(applied.se_B, e.B_draws)),
                  "linking");
  }
  return out;
}

// What R asked for: the routes, the draws' seed, and whether the draws show
// their progress (an interactive session).
struct StandardErrorRequest {
  bool delta = false;
  int draws = 0;
  std::uint64_t seed = 1;
  bool show_progress = false;
  bool wanted() const { return delta || draws > 0; }
};

// R passes the seed as a double: a whole number from 0 to 2^53, checked there.
StandardErrorRequest standard_error_request(bool se, int draws, double seed, bool show_progress) {
  return {se, draws, static_cast<std::uint64_t>(seed), show_progress && draws > 0};
}

void check_interrupt(void*) { R_CheckUserInterrupt(); }

// The draws report here, on the calling thread, as they complete: the user's
// interrupt is looked for under R_ToplevelExec, so R's jump ends there and
// never crosses the library's frames; returning false makes the library stop
// and throw. When shown, one line on standard error is rewritten in place.
class DrawsProgress {
 public:
  explicit DrawsProgress(bool show) : show_(show) {}
  DrawsProgress(const DrawsProgress&) = delete;
  DrawsProgress& operator=(const DrawsProgress&) = delete;
  ~DrawsProgress() {
    if (percent_ >= 0) REprintf("\r%*s\r", static_cast<int>(width), "");
  }

  bool step(int done, int total) {
    if (R_ToplevelExec(check_interrupt, nullptr) == FALSE) {
      interrupted_ = true;
      return false;
    }
    // At each whole percent, and twice a second between them.
    const int percent = total > 0 ? static_cast<int>(100.0 * done / total) : 100;
    const auto now = std::chrono::steady_clock::now();
    if (show_ && (percent != percent_ || now - shown_at_ > std::chrono::milliseconds(500))) {
      percent_ = percent;
      shown_at_ = now;
      REprintf("\rirteq: parametric draws %d of %d (%d%%)", done, total, percent);
    }
    return true;
  }
  bool interrupted() const { return interrupted_; }

 private:
  static constexpr std::size_t width = 60;  // wider than any progress line
  bool show_;
  bool interrupted_ = false;
  int percent_ = -1;
  std::chrono::steady_clock::time_point shown_at_{};
};

// One run, its result for R: the equating, the linking when it links, the
// standard errors when asked for, and the run's record as run.csv's text,
// naming the R function and its options of its own. Its warnings (a scale
// table's raw column, many redraws) join the R warnings.
List run_for_r(const irteq::RunInput& input, irteq::ParameterCovariances covariances,
               const StandardErrorRequest& request, int threads, double root_tolerance, bool tables,
               const std::string& front_end,
               const std::vector<std::pair<std::string, std::string>>& front_end_options, Warnings& warnings) {
  DrawsProgress progress(request.show_progress);
  irteq::RunOptions options;
  options.equating.threads = threads;
  options.equating.root_tolerance = root_tolerance;
  options.standard_errors.delta_method = request.delta;
  options.standard_errors.draws = request.draws;
  options.standard_errors.seed = request.seed;
  options.standard_errors.threads = threads;
  options.standard_errors.progress = [&progress](int done, int total) { return progress.step(done, total); };
  options.covariances = std::move(covariances);
  options.tables = tables;
  irteq::RunResult result;
  try {
    result = irteq::run(input, options);
  } catch (const irteq::Error& e) {
    if (progress.interrupted()) throw Interrupted{e.what()};
    throw;
  }
  for (const std::string& warning : result.equating.input_warnings) warnings.push_back(warning);
  List value = equating_to_r(result.equating, input.equating.w2);
  if (result.linking) value.push_back(linking_to_r(*result.linking, input.equating), "linking");
  if (result.standard_errors) {
    if (std::string redraws = irteq::redraws_warning(*result.standard_errors); !redraws.empty()) {
      warnings.push_back(std::move(redraws));
    }
    value.push_back(standard_errors_to_r(*result.standard_errors, result.linking), "standard_errors");
  }
  if (result.tables) value.push_back(tables_to_r(result.equating, *result.tables), "tables");
  result.record.front_end = front_end;
  result.record.options.insert(result.record.options.begin(), front_end_options.begin(), front_end_options.end());
  std::ostringstream record;
  irteq::write_run_record(result.record, record);
  value.push_back(record.str(), "run");
  return value;
}

}  // namespace

// [[Rcpp::export(.read_items)]]
List read_items_glue(std::string path, bool strict) {
  return guarded([&](Warnings& w) {
    return items_to_r(irteq::read_items(std::filesystem::path(path), collecting(w, strict)));
  });
}

// [[Rcpp::export(.read_grid)]]
List read_grid_glue(std::string path, bool strict) {
  return guarded(
      [&](Warnings& w) { return grid_to_r(irteq::read_grid(std::filesystem::path(path), collecting(w, strict))); });
}

// [[Rcpp::export(.read_scale_table)]]
List read_scale_table_glue(std::string path, bool strict) {
  return guarded([&](Warnings& w) {
    const irteq::RawToScaleFile file = irteq::read_scale_table(std::filesystem::path(path), collecting(w, strict));
    return scale_to_r(file.table, file.w2);
  });
}

// [[Rcpp::export(.read_control)]]
List read_control_glue(std::string path) {
  return guarded([&](Warnings&) {
    const irteq::ControlFile f = irteq::read_control(std::filesystem::path(path));
    return CharacterVector::create(_["output"] = f.output, _["old_para"] = f.old_para, _["old_quad"] = f.old_quad,
                                   _["raw2scale"] = f.raw2scale, _["new_para"] = f.new_para,
                                   _["new_quad"] = f.new_quad, _["common_items"] = f.common_items,
                                   _["new_cov"] = f.new_cov, _["old_cov"] = f.old_cov,
                                   _["cut_scores"] = f.cut_scores);
  });
}

// [[Rcpp::export(.read_common_items)]]
List read_common_items_glue(std::string path, bool strict) {
  return guarded([&](Warnings& w) {
    const irteq::CommonItemsFile f = irteq::read_common_items(std::filesystem::path(path), collecting(w, strict));
    const auto n = static_cast<R_xlen_t>(f.pairs.size());
    IntegerVector x_item(n), y_item(n);
    CharacterVector x_label(n), y_label(n);
    // A pair's item named by label has no number: NA.
    for (std::size_t i = 0; i < f.pairs.size(); ++i) {
      const irteq::CommonItemPair& p = f.pairs[i];
      x_item[static_cast<R_xlen_t>(i)] = p.x_label.empty() ? p.x_number : NA_INTEGER;
      y_item[static_cast<R_xlen_t>(i)] = p.y_label.empty() ? p.y_number : NA_INTEGER;
      x_label[static_cast<R_xlen_t>(i)] = p.x_label;
      y_label[static_cast<R_xlen_t>(i)] = p.y_label;
    }
    const bool screened = f.screen != irteq::ScreeningStatistic::none;
    return List::create(_["method"] = std::string(irteq::linking_method_name(f.method)),
                        _["symmetric"] = f.symmetric,
                        _["screen"] = std::string(irteq::screening_statistic_name(f.screen)),
                        _["cut"] = screened ? Rcpp::wrap(f.cut) : R_NilValue,
                        _["pairs"] = List::create(_["x_item"] = x_item, _["y_item"] = y_item, _["x_label"] = x_label,
                                                  _["y_label"] = y_label));
  });
}

// [[Rcpp::export(.read_covariance)]]
List read_covariance_glue(std::string path, List items, bool strict) {
  return guarded([&](Warnings& w) {
    const std::vector<irteq::Item> form = items_from_r(items, "items", irteq::InputPart::none);
    return covariance_to_r(irteq::read_covariance(std::filesystem::path(path), form, collecting(w, strict)));
  });
}

// Each item's slope and locations as the library pools them, for the drift plot.
// [[Rcpp::export(.slope_and_locations)]]
List slope_and_locations_glue(List items) {
  return guarded([&](Warnings&) {
    const std::vector<irteq::Item> form = items_from_r(items, "items", irteq::InputPart::none);
    List terms(static_cast<R_xlen_t>(form.size()));
    for (std::size_t i = 0; i < form.size(); ++i) {
      const irteq::SlopeAndLocations t = irteq::slope_and_locations(form[i]);
      terms[static_cast<R_xlen_t>(i)] = List::create(_["slope"] = NumericVector(t.slopes.begin(), t.slopes.end()),
                                                     _["location"] = NumericVector(t.locations.begin(), t.locations.end()));
    }
    return terms;
  });
}

// The text of a covariance file, for R to write: the library's numbers and checks.
// [[Rcpp::export(.covariance_text)]]
List covariance_text_glue(NumericMatrix covariance, List items, std::string name, std::string title) {
  return guarded([&](Warnings&) {
    const std::vector<irteq::Item> form = items_from_r(items, "items", irteq::InputPart::none);
    const irteq::Covariance c = *covariance_from_r(covariance);
    irteq::validate_covariance(c, form, name);  // named as R's argument; the writer checks again
    std::ostringstream out;
    irteq::write_covariance(c, form, out, title);
    return out.str();
  });
}

// [[Rcpp::export(.validate_items)]]
List validate_items_glue(List items, std::string name) {
  return guarded([&](Warnings&) {
    irteq::validate_items(items_from_r(items, name, irteq::InputPart::none), name);
    return R_NilValue;
  });
}

// [[Rcpp::export(.validate_grid)]]
List validate_grid_glue(List grid, std::string name) {
  return guarded([&](Warnings&) {
    irteq::validate_grid(grid_from_r(grid), name);
    return R_NilValue;
  });
}

// [[Rcpp::export(.validate_scale_table)]]
List validate_scale_table_glue(List scale, double w2, std::string name) {
  return guarded([&](Warnings&) {
    irteq::validate_scale_table(scale_from_r(scale), w2, name);
    return R_NilValue;
  });
}

// The grid of a normal ability distribution, the library's.
// [[Rcpp::export(.normal_grid)]]
List normal_grid_glue(double mean, double sd, int points, double low, double high) {
  return guarded([&](Warnings&) { return grid_to_r(irteq::normal_grid(mean, sd, points, low, high)); });
}

// A table that reports form Y's raw scores themselves, for equating without one.
// [[Rcpp::export(.raw_score_table)]]
List raw_score_table_glue(List y_items, double w2) {
  return guarded([&](Warnings&) {
    return scale_to_r(irteq::raw_score_table(items_from_r(y_items, "y_items", irteq::InputPart::items_y), "y_items"),
                      w2);
  });
}

// One run from R objects: linked first when x_item, y_item name common items
// (the pairs of a linking, as link() took them, screened as it screened them).
// [[Rcpp::export(.run)]]
List run_glue(List x_items, List y_items, List x_grid, List y_grid, List scale, double w2, int threads,
              double root_tolerance, SEXP x_cov, SEXP y_cov, bool se, int draws, double seed, bool progress,
              Rcpp::Nullable<IntegerVector> x_item, Rcpp::Nullable<IntegerVector> y_item,
              Rcpp::Nullable<CharacterVector> x_label, Rcpp::Nullable<CharacterVector> y_label, std::string method,
              bool symmetric, std::string screen, double cut, bool tables, SEXP cuts, SEXP levels) {
  return guarded([&](Warnings& w) {
    irteq::RunInput input;
    input.equating = forms_from_r(x_items, y_items, x_grid, y_grid);
    input.equating.scale_table = scale_from_r(scale);
    input.equating.w2 = w2;
    if (x_item.isNotNull()) {
      input.linking = linking_from_r(IntegerVector(x_item.get()), IntegerVector(y_item.get()),
                                     CharacterVector(x_label.get()), CharacterVector(y_label.get()), method,
                                     symmetric, screen, cut);
    }
    input.cut_scores = cut_scores_from_r(cuts, levels);
    return run_for_r(input, covariances_from_r(x_cov, y_cov), standard_error_request(se, draws, seed, progress),
                     threads, root_tolerance, tables, "R equate()", cut_scores_options(input.cut_scores), w);
  });
}

// Every method's delta-method standard errors when a covariance is given.
// [[Rcpp::export(.link)]]
List link_glue(List x_items, List y_items, List x_grid, List y_grid, IntegerVector x_item, IntegerVector y_item,
               CharacterVector x_label, CharacterVector y_label, std::string method, bool symmetric, std::string screen, double cut, SEXP x_cov, SEXP y_cov) {
  return guarded([&](Warnings&) {
    const irteq::EquatingInput forms = forms_from_r(x_items, y_items, x_grid, y_grid);
    const irteq::LinkingInput linking = linking_from_r(x_item, y_item, x_label, y_label, method, symmetric, screen, cut);
    const bool errors = !Rf_isNull(x_cov) || !Rf_isNull(y_cov);
    const irteq::LinkingResult result =
        errors ? irteq::link(forms, linking, covariances_from_r(x_cov, y_cov)) : irteq::link(forms, linking);
    return linking_to_r(result, forms);
  });
}

// As the console program runs a control file: linked first when it names common items.
// [[Rcpp::export(.equate_files)]]
List equate_files_glue(std::string control, bool strict, int threads, double root_tolerance, bool se, int draws,
                       double seed, bool progress, bool tables) {
  return guarded([&](Warnings& w) {
    const irteq::ControlFile files = irteq::read_control(std::filesystem::path(control));
    const irteq::RunInput input = irteq::read_run(files, collecting(w, strict));
    const StandardErrorRequest request = standard_error_request(se, draws, seed, progress);
    irteq::ParameterCovariances covariances =
        irteq::read_run_covariances(files, input, request.wanted(), collecting(w, strict));
    return run_for_r(input, std::move(covariances), request, threads, root_tolerance, tables, "R equate_files()",
                     {{"strict", strict ? "true" : "false"}}, w);
  });
}

// The library's screening statistic of a name, in any case, as its name; NA for none.
// [[Rcpp::export(.screening_statistic)]]
CharacterVector screening_statistic_glue(std::string name) {
  const std::optional<irteq::ScreeningStatistic> statistic = irteq::screening_statistic(name);
  return CharacterVector::create(statistic ? Rcpp::String(std::string(irteq::screening_statistic_name(*statistic)))
                                           : Rcpp::String(NA_STRING));
}

// The library's method of a name (its own names and other programs' spellings), as its name; NA for none.
// [[Rcpp::export(.linking_method)]]
CharacterVector linking_method_glue(std::string name) {
  const std::optional<irteq::LinkingMethod> method = irteq::linking_method(name);
  return CharacterVector::create(method ? Rcpp::String(std::string(irteq::linking_method_name(*method)))
                                        : Rcpp::String(NA_STRING));
}

// The names of each item's parameters ("D", "a", "b(1)", ...), or only its estimated ones.
// [[Rcpp::export(.parameter_names)]]
List parameter_names_glue(List items, std::string name, bool estimated) {
  return guarded([&](Warnings&) {
    const IntegerVector number = items["item"];
    const CharacterVector type = items["type"];
    const List scores = items["scores"];
    List names(type.size());
    for (R_xlen_t i = 0; i < type.size(); ++i) {
      const IntegerVector s = scores[i];
      const auto m = static_cast<int>(s.size());
      const irteq::ItemModel model =
          irteq::checked_item_model(std::string(type[i]), name, static_cast<int>(i + 1), number[i], m);
      const std::vector<std::string> parameters =
          estimated ? irteq::estimated_parameter_names(model, m) : irteq::parameter_names(model, m);
      names[i] = CharacterVector(parameters.begin(), parameters.end());
    }
    return names;
  });
}

// The shortest text that reads back to the same double, as the CSV files write it.
// [[Rcpp::export(.number_text)]]
CharacterVector number_text_glue(NumericVector x) {
  CharacterVector text(x.size());
  for (R_xlen_t i = 0; i < x.size(); ++i) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x[i]).ptr;
    text[i] = std::string(buffer, end);
  }
  return text;
}

// Correctly rounded text to double (R's own conversion is not always): "" is NA.
// [[Rcpp::export(.parse_numbers)]]
NumericVector parse_numbers_glue(CharacterVector text) {
  NumericVector x(text.size());
  for (R_xlen_t i = 0; i < text.size(); ++i) {
    const std::string s = text[i] == NA_STRING ? std::string() : std::string(text[i]);
    double value = NA_REAL;
    if (!s.empty()) {
      const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
      if (error != std::errc{} || end != s.data() + s.size()) value = NA_REAL;
    }
    x[i] = value;
  }
  return x;
}

// The library's version.
// [[Rcpp::export(.library_version)]]
std::string library_version_glue() { return irteq::version; }

// ---- the models as functions, and the converters from calibration output ----

// One row per theta of every item's categories in turn, columns named "item:category".
// [[Rcpp::export(.probabilities)]]
List probabilities_glue(List items, NumericVector theta) {
  return guarded([&](Warnings&) {
    const std::vector<irteq::Item> form = items_from_r(items, "items", irteq::InputPart::none);
    R_xlen_t columns = 0;
    for (const irteq::Item& item : form) columns += static_cast<R_xlen_t>(item.category_scores.size());
    NumericMatrix out(theta.size(), columns);
    // A block of thetas at a time, row-major, into R's column-major matrix:
    // the block stays in cache, and no copy of the whole matrix is made.
    constexpr R_xlen_t block = 256;
    for (R_xlen_t first = 0; first < theta.size() || (first == 0 && theta.size() == 0); first += block) {
      const R_xlen_t rows = std::min(block, theta.size() - first);
      const std::vector<double> p =
          irteq::probabilities(form, std::span<const double>(theta.begin() + first, static_cast<std::size_t>(rows)),
                               "items");
      for (R_xlen_t c = 0; c < columns; ++c) {
        for (R_xlen_t t = 0; t < rows; ++t) out(first + t, c) = p[static_cast<std::size_t>(t * columns + c)];
      }
    }
    // "3:2", category 2 of item number 3, named here: naming it in R would copy the whole matrix.
    CharacterVector names(columns);
    R_xlen_t column = 0;
    for (const irteq::Item& item : form) {
      for (std::size_t k = 1; k <= item.category_scores.size(); ++k) {
        names[column++] = std::to_string(item.number) + ":" + std::to_string(k);
      }
    }
    Rcpp::colnames(out) = names;
    return out;
  });
}

// One row per theta, one column per item, named by its number.
// [[Rcpp::export(.expected_scores)]]
List expected_scores_glue(List items, NumericVector theta) {
  return guarded([&](Warnings&) {
    const std::vector<irteq::Item> form = items_from_r(items, "items", irteq::InputPart::none);
    const std::vector<double> thetas(theta.begin(), theta.end());
    const std::vector<double> scores = irteq::expected_scores(form, thetas, "items");
    const auto columns = static_cast<R_xlen_t>(form.size());
    NumericMatrix out(static_cast<R_xlen_t>(thetas.size()), columns);
    for (R_xlen_t t = 0; t < out.nrow(); ++t) {
      for (R_xlen_t i = 0; i < columns; ++i) out(t, i) = scores[static_cast<std::size_t>(t * columns + i)];
    }
    CharacterVector names(columns);
    for (R_xlen_t i = 0; i < columns; ++i) names[i] = std::to_string(form[static_cast<std::size_t>(i)].number);
    Rcpp::colnames(out) = names;
    return out;
  });
}

// [[Rcpp::export(.tcc)]]
List tcc_glue(List items, NumericVector theta) {
  return guarded([&](Warnings&) {
    const std::vector<double> thetas(theta.begin(), theta.end());
    return doubles(irteq::test_characteristic_curve(items_from_r(items, "items", irteq::InputPart::none), thetas,
                                                    "items"));
  });
}

// The summed-score EAP table of any items over any grid.
// [[Rcpp::export(.eap_table)]]
List eap_table_glue(List items, List grid) {
  return guarded([&](Warnings&) {
    return eap_to_r(irteq::eap_table(items_from_r(items, "items", irteq::InputPart::none), grid_from_r(grid), "items"));
  });
}

// A calibration program's parameter file; D and the two paths empty when not given (R/calibration.R).
// [[Rcpp::export(.read_calibration)]]
List read_calibration_glue(std::string file, std::string program, NumericVector D, std::string covariance,
                           std::string thresholds) {
  return guarded([&](Warnings&) {
    const auto known = irteq::calibration_program(program);
    if (!known) {
      throw irteq::Error("unknown calibration program '" + program + "'", {.code = irteq::ErrorCode::invalid_input});
    }
    irteq::CalibrationOptions options{.covariance = covariance, .thresholds = thresholds};
    if (D.size() > 0) options.D = D[0];
    const irteq::CalibrationFile read = irteq::read_calibration(file, *known, options);
    IntegerVector group_number;
    CharacterVector group_label;
    NumericVector group_mean, group_variance;
    for (const irteq::CalibrationGroup& group : read.groups) {
      group_number.push_back(group.number);
      group_label.push_back(group.label);
      group_mean.push_back(std::isnan(group.mean) ? NA_REAL : group.mean);
      group_variance.push_back(std::isnan(group.variance) ? NA_REAL : group.variance);
    }
    return List::create(_["items"] = items_to_r(read.items),
                        _["covariance"] = read.covariance ? Rcpp::RObject(covariance_to_r(*read.covariance)) : Rcpp::RObject(),
                        _["groups"] = List::create(_["group"] = group_number, _["label"] = group_label,
                                                   _["mean"] = group_mean, _["variance"] = group_variance));
  });
}

// sources: list(item, form, D, scores, values) and optionally label ("" for
// none), shapes checked by R (R/convert.R);
// covariance: a square matrix over every item's values, or NULL.
// [[Rcpp::export(.convert_items)]]
List convert_items_glue(List sources, Rcpp::Nullable<Rcpp::NumericMatrix> covariance, std::string name) {
  return guarded([&](Warnings&) {
    const IntegerVector number = sources["item"];
    const CharacterVector form = sources["form"];
    const NumericVector d = sources["D"];
    const List scores = sources["scores"];
    const List values = sources["values"];
    std::vector<irteq::SourceItem> items(static_cast<std::size_t>(number.size()));
    for (R_xlen_t i = 0; i < number.size(); ++i) {
      irteq::SourceItem& item = items[static_cast<std::size_t>(i)];
      const std::string form_name(form[i]);
      const auto known = irteq::source_form(form_name);
      if (!known) {
        throw irteq::Error(name + ": item " + std::to_string(i + 1) + ": unknown parameterisation '" + form_name + "'",
                           {.code = irteq::ErrorCode::invalid_input, .source = name, .item = static_cast<int>(i + 1)});
      }
      const IntegerVector s = scores[i];
      const NumericVector v = values[i];
      item = {number[i], *known, d[i], std::vector<int>(s.begin(), s.end()), std::vector<double>(v.begin(), v.end())};
      if (sources.containsElementNamed("label")) item.label = CharacterVector(sources["label"])[i];
    }
    if (covariance.isNull()) return List::create(_["items"] = items_to_r(irteq::convert_items(items, name)));
    const Rcpp::NumericMatrix s(covariance.get());
    irteq::Covariance source{static_cast<std::size_t>(s.nrow()), {}, guessing_metric_of(s)};
    if (s.nrow() == s.ncol()) {
      for (R_xlen_t i = 0; i < s.nrow(); ++i) {
        for (R_xlen_t j = 0; j < s.ncol(); ++j) source.values.push_back(s(i, j));
      }
    }
    const irteq::ConvertedItems converted = irteq::convert_items(items, source, name);
    return List::create(_["items"] = items_to_r(converted.items), _["covariance"] = covariance_to_r(converted.covariance));
  });
}
