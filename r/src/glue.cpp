// Glue between R and the irteq library. Every entry point catches every
// exception and returns list(value, warnings, error); R raises the conditions
// itself (R/core.R) once the C++ frames are gone, so no C++ exception reaches R.
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
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "models/prepare_items.hpp"
#include "irteq/irteq.hpp"
#include "irteq/linking.hpp"
#include "models/category_probabilities.hpp"
#include "report/moments_words.hpp"
#include "truescore/true_score_equivalents.hpp"
#include "validate/scale_table_problems.hpp"

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

const char* code_name(irteq::ErrorCode code) {
  switch (code) {
    case irteq::ErrorCode::file_error: return "file_error";
    case irteq::ErrorCode::syntax_error: return "syntax_error";
    case irteq::ErrorCode::limit_exceeded: return "limit_exceeded";
    case irteq::ErrorCode::invalid_input: return "invalid_input";
    case irteq::ErrorCode::unknown_item_type: return "unknown_item_type";
    case irteq::ErrorCode::control_file: return "control_file";
    case irteq::ErrorCode::not_finite: return "not_finite";
    case irteq::ErrorCode::input_warning: return "input_warning";
    case irteq::ErrorCode::linking_failed: return "linking_failed";
    case irteq::ErrorCode::interrupted: return "interrupted";
  }
  return "internal_error";
}

const char* input_name(irteq::InputPart part) {
  switch (part) {
    case irteq::InputPart::none: return "";
    case irteq::InputPart::control_file: return "control_file";
    case irteq::InputPart::items_x: return "items_x";
    case irteq::InputPart::items_y: return "items_y";
    case irteq::InputPart::grid_group1: return "grid_group1";
    case irteq::InputPart::grid_group2: return "grid_group2";
    case irteq::InputPart::scale_table: return "scale_table";
    case irteq::InputPart::report: return "report";
    case irteq::InputPart::csv: return "csv";
    case irteq::InputPart::common_items: return "common_items";
  }
  return "";
}

List error_list(const std::string& message, const irteq::Diagnostic& d) {
  return List::create(_["message"] = message, _["code"] = code_name(d.code), _["input"] = input_name(d.input),
                      _["source"] = d.source, _["line"] = d.line, _["item"] = d.item, _["row"] = d.row,
                      _["score_point"] = d.score_point);
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

// ---- items, grids and scale tables between R and C++ ----

List items_to_r(const std::vector<irteq::Item>& items) {
  const auto n = static_cast<R_xlen_t>(items.size());
  IntegerVector number(n), categories(n);
  CharacterVector type(n);
  List scores(n), parameters(n);
  for (R_xlen_t i = 0; i < n; ++i) {
    const irteq::Item& item = items[static_cast<std::size_t>(i)];
    number[i] = item.number;
    type[i] = std::string(irteq::item_code(item.model));
    categories[i] = static_cast<int>(item.category_scores.size());
    scores[i] = IntegerVector(item.category_scores.begin(), item.category_scores.end());
    parameters[i] = NumericVector(item.parameters.begin(), item.parameters.end());
  }
  return List::create(_["item"] = number, _["type"] = type, _["categories"] = categories, _["scores"] = scores,
                      _["parameters"] = parameters);
}

// R has checked the shapes and types (R/checks.R); the codes are checked here.
std::vector<irteq::Item> items_from_r(const List& x, const std::string& name, irteq::InputPart part) {
  const IntegerVector number = x["item"];
  const CharacterVector type = x["type"];
  const List scores = x["scores"];
  const List parameters = x["parameters"];
  std::vector<irteq::Item> items(static_cast<std::size_t>(number.size()));
  for (R_xlen_t i = 0; i < number.size(); ++i) {
    irteq::Item& item = items[static_cast<std::size_t>(i)];
    const IntegerVector s = scores[i];
    const NumericVector p = parameters[i];
    item.number = number[i];
    item.category_scores.assign(s.begin(), s.end());
    item.parameters.assign(p.begin(), p.end());
    const std::string code(type[i]);
    const auto model = irteq::item_model(code);
    if (!model) {
      const int m = static_cast<int>(s.size());
      const int position = static_cast<int>(i + 1);
      throw irteq::Error(name + ": item " + std::to_string(position) + " (number " + std::to_string(item.number) +
                             ", " + code + ", " + std::to_string(m) + (m == 1 ? " category)" : " categories)") +
                             ": unknown item type code '" + code + "'; the codes are L3, SN, SL, BN and MU",
                         {.code = irteq::ErrorCode::unknown_item_type, .input = part, .source = name, .item = position});
    }
    item.model = *model;
  }
  return items;
}

List grid_to_r(const irteq::QuadratureGrid& grid) {
  return List::create(_["theta"] = NumericVector(grid.points.begin(), grid.points.end()),
                      _["weight"] = NumericVector(grid.weights.begin(), grid.weights.end()));
}

irteq::QuadratureGrid grid_from_r(const List& x) {
  const NumericVector theta = x["theta"];
  const NumericVector weight = x["weight"];
  return {std::vector<double>(theta.begin(), theta.end()), std::vector<double>(weight.begin(), weight.end())};
}

List scale_to_r(const irteq::RawToScaleFile& file) {
  const irteq::ScaleTable& t = file.table;
  return List::create(_["raw"] = NumericVector(t.raw.begin(), t.raw.end()),
                      _["scale"] = NumericVector(t.scale.begin(), t.scale.end()),
                      _["rounded"] = NumericVector(t.rounded.begin(), t.rounded.end()),
                      _["scale_min"] = t.scale_min, _["scale_max"] = t.scale_max, _["w2"] = file.w2);
}

irteq::ScaleTable scale_from_r(const List& x) {
  const NumericVector raw = x["raw"];
  const NumericVector scale = x["scale"];
  const NumericVector rounded = x["rounded"];
  return {Rcpp::as<int>(x["scale_min"]), Rcpp::as<int>(x["scale_max"]), std::vector<double>(raw.begin(), raw.end()),
          std::vector<double>(scale.begin(), scale.end()), std::vector<double>(rounded.begin(), rounded.end())};
}

NumericVector doubles(const std::vector<double>& v) { return NumericVector(v.begin(), v.end()); }


// The run's w2 and form X's chance score (its lowest score plus what guessing
// alone adds) come along for plot(): the chance score ends the straight line.
List result_to_r(const irteq::EquatingResult& r, const irteq::EquatingInput& input) {
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
    // The words of batch mode's moments.csv.
    block[i] = std::string(irteq::block_word(row.block));
    group[i] = std::string(irteq::group_word(row.group));
    score[i] = std::string(irteq::score_word(row.score));
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
    problem[i] = warning.problem == irteq::RootFinderProblem::not_bracketed ? "not_bracketed" : "iteration_limit";
    w_theta[i] = warning.theta;
    message[i] = irteq::warning_message(warning);
  }
  const List warnings =
      List::create(_["raw"] = w_raw, _["problem"] = problem, _["theta"] = w_theta, _["message"] = message);

  return List::create(_["true_score"] = true_score, _["observed_score"] = observed,
                      _["distributions"] = distributions, _["moments"] = moments, _["warnings"] = warnings,
                      _["synthetic_adjusted"] = LogicalVector::create(_["X"] = r.x.synthetic_adjusted,
                                                                      _["Y"] = r.y.synthetic_adjusted),
                      _["w2"] = input.w2,
                      _["chance_score"] = r.x.raw_scores.front() + irteq::chance_score(input.items_x));
}

// ---- linking ----

constexpr irteq::LinkingMethod linking_methods[] = {irteq::LinkingMethod::mean_mean, irteq::LinkingMethod::mean_sigma,
                                                    irteq::LinkingMethod::haebara, irteq::LinkingMethod::stocking_lord};

// R has checked that the name is one of the four.
irteq::LinkingMethod linking_method(const std::string& name) {
  for (const irteq::LinkingMethod method : linking_methods) {
    if (irteq::linking_method_name(method) == name) return method;
  }
  throw std::invalid_argument("unknown linking method " + name);
}

std::string method_text(irteq::LinkingMethod method) { return std::string(irteq::linking_method_name(method)); }

// The item numbered `number` (a common item's number names one item: link() has checked).
const irteq::Item& numbered(const std::vector<irteq::Item>& items, int number) {
  return *std::find_if(items.begin(), items.end(), [&](const irteq::Item& item) { return item.number == number; });
}

// The common items in the pairs' order: form X's before and after linking, and form Y's, for plot().
List common_items_to_r(const irteq::LinkingResult& r, const irteq::LinkingInput& input) {
  std::vector<irteq::Item> x, linked, y;
  for (const irteq::AnchorFit& anchor : r.anchors) {
    x.push_back(numbered(input.items_x, anchor.x_number));
    linked.push_back(numbered(r.items_x, anchor.x_number));
    y.push_back(numbered(input.items_y, anchor.y_number));
  }
  return List::create(_["x"] = items_to_r(x), _["x_linked"] = items_to_r(linked), _["y"] = items_to_r(y));
}

// Moment methods have no criterion nor iterations: NA there.
List linking_to_r(const irteq::LinkingResult& r, const irteq::LinkingInput& input) {
  const R_xlen_t n = static_cast<R_xlen_t>(r.methods.size());
  CharacterVector method(n), problem(n);
  NumericVector A(n), B(n), criterion(n);
  IntegerVector iterations(n);
  LogicalVector available(n);
  for (R_xlen_t i = 0; i < n; ++i) {
    const irteq::MethodConstants& m = r.methods[static_cast<std::size_t>(i)];
    const bool curve = m.method == irteq::LinkingMethod::haebara || m.method == irteq::LinkingMethod::stocking_lord;
    method[i] = method_text(m.method);
    A[i] = m.A;
    B[i] = m.B;
    criterion[i] = curve ? m.criterion : NA_REAL;
    iterations[i] = curve ? m.iterations : NA_INTEGER;
    available[i] = m.available;
    problem[i] = m.problem;
  }
  const List methods = List::create(_["method"] = method, _["A"] = A, _["B"] = B, _["criterion"] = criterion,
                                    _["iterations"] = iterations, _["available"] = available, _["problem"] = problem);

  const auto a = static_cast<R_xlen_t>(r.anchors.size());
  IntegerVector x_item(a), y_item(a);
  CharacterVector model(a);
  NumericVector rmsd(a);
  for (R_xlen_t i = 0; i < a; ++i) {
    const irteq::AnchorFit& fit = r.anchors[static_cast<std::size_t>(i)];
    x_item[i] = fit.x_number;
    y_item[i] = fit.y_number;
    model[i] = std::string(irteq::item_code(fit.model));
    rmsd[i] = fit.rmsd;
  }
  const List anchors = List::create(_["x_item"] = x_item, _["y_item"] = y_item, _["model"] = model, _["rmsd"] = rmsd);

  return List::create(_["methods"] = methods, _["method"] = method_text(r.applied), _["symmetric"] = r.symmetric,
                      _["A"] = r.A, _["B"] = r.B, _["anchors"] = anchors, _["x_items"] = items_to_r(r.items_x),
                      _["x_grid"] = grid_to_r(r.grid_group1), _["y_grid"] = grid_to_r(input.grid_group2),
                      _["common_items"] = common_items_to_r(r, input));
}


// ---- standard errors ----

// What R asked for: the routes, the draws' seed, and whether the draws show
// their progress (an interactive session).
struct StandardErrorRequest {
  bool delta = false;
  int draws = 0;
  std::uint64_t seed = 1;
  bool show_progress = false;
  bool wanted() const { return delta || draws > 0; }
};

// R has checked the matrix: square, finite, of the form's size (R/standard-errors.R).
std::optional<irteq::Covariance> covariance_from_r(SEXP x) {
  if (Rf_isNull(x)) return std::nullopt;
  const NumericMatrix m(x);
  const auto n = static_cast<std::size_t>(m.nrow());
  irteq::Covariance covariance{n, std::vector<double>(n * n)};
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
  return m;
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

// Not computed (NaN) is R's NA.
double or_na(double x) { return std::isnan(x) ? NA_REAL : x; }

List point_errors_to_r(const irteq::PointStandardErrors& e) {
  return List::create(_["delta"] = doubles(e.delta), _["draws_sd"] = doubles(e.draws_sd),
                      _["draws_lower"] = doubles(e.draws_lower), _["draws_upper"] = doubles(e.draws_upper));
}

NumericVector constant_errors_to_r(const irteq::ConstantStandardErrors& e) {
  return NumericVector::create(_["delta"] = or_na(e.delta), _["draws_sd"] = or_na(e.draws_sd),
                               _["draws_lower"] = or_na(e.draws_lower), _["draws_upper"] = or_na(e.draws_upper));
}

// Vectors stay empty where a route was not run; R builds its columns from them.
List standard_errors_to_r(const irteq::StandardErrors& e) {
  List out = List::create(_["true_raw"] = point_errors_to_r(e.true_raw),
                          _["true_scale"] = point_errors_to_r(e.true_scale),
                          _["observed_raw"] = point_errors_to_r(e.observed_raw),
                          _["observed_scale"] = point_errors_to_r(e.observed_scale), _["draws"] = e.draws,
                          _["redraws"] = e.redraws);
  if (e.linking) {
    // In LinkingMethod order, the order of the linking's methods table.
    NumericVector delta_A(4), delta_B(4);
    for (std::size_t i = 0; i < 4; ++i) {
      delta_A[static_cast<R_xlen_t>(i)] = or_na(e.linking->delta_A[i]);
      delta_B[static_cast<R_xlen_t>(i)] = or_na(e.linking->delta_B[i]);
    }
    out.push_back(List::create(_["delta_A"] = delta_A, _["delta_B"] = delta_B,
                               _["A"] = constant_errors_to_r(e.linking->A), _["B"] = constant_errors_to_r(e.linking->B)),
                  "linking");
  }
  return out;
}

// Many draws drawn again are a warning, as in the report.
List standard_errors_for_r(const irteq::RunInput& run, const std::optional<irteq::LinkingResult>& linking,
                           const irteq::EquatingResult& result, const irteq::ParameterCovariances& covariances,
                           const StandardErrorRequest& request, int threads, Warnings& warnings) {
  DrawsProgress progress(request.show_progress);
  irteq::StandardErrorOptions options;
  options.delta_method = request.delta;
  options.draws = request.draws;
  options.seed = request.seed;
  options.threads = threads;
  options.progress = [&progress](int done, int total) { return progress.step(done, total); };
  irteq::StandardErrors errors;
  try {
    errors = irteq::standard_errors(run, linking, result, covariances, options);
  } catch (const irteq::Error& e) {
    if (progress.interrupted()) throw Interrupted{e.what()};
    throw;
  }
  if (std::string warning = irteq::redraws_warning(errors); !warning.empty()) warnings.push_back(std::move(warning));
  return standard_errors_to_r(errors);
}

// R passes the seed as a double: a whole number from 0 to 2^53, checked there.
StandardErrorRequest standard_error_request(bool se, int draws, double seed, bool show_progress) {
  return {se, draws, static_cast<std::uint64_t>(seed), show_progress && draws > 0};
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
    return scale_to_r(irteq::read_scale_table(std::filesystem::path(path), collecting(w, strict)));
  });
}

// [[Rcpp::export(.read_control)]]
List read_control_glue(std::string path) {
  return guarded([&](Warnings&) {
    const irteq::ControlFile f = irteq::read_control(std::filesystem::path(path));
    return CharacterVector::create(_["output"] = f.output, _["old_para"] = f.old_para, _["old_quad"] = f.old_quad,
                                   _["raw2scale"] = f.raw2scale, _["new_para"] = f.new_para,
                                   _["new_quad"] = f.new_quad, _["common_items"] = f.common_items,
                                   _["new_cov"] = f.new_cov, _["old_cov"] = f.old_cov);
  });
}

// [[Rcpp::export(.read_common_items)]]
List read_common_items_glue(std::string path, bool strict) {
  return guarded([&](Warnings& w) {
    const irteq::CommonItemsFile f = irteq::read_common_items(std::filesystem::path(path), collecting(w, strict));
    IntegerVector x_item(static_cast<R_xlen_t>(f.pairs.size())), y_item(static_cast<R_xlen_t>(f.pairs.size()));
    for (std::size_t i = 0; i < f.pairs.size(); ++i) {
      x_item[static_cast<R_xlen_t>(i)] = f.pairs[i].x_number;
      y_item[static_cast<R_xlen_t>(i)] = f.pairs[i].y_number;
    }
    return List::create(_["method"] = method_text(f.method), _["symmetric"] = f.symmetric,
                        _["pairs"] = List::create(_["x_item"] = x_item, _["y_item"] = y_item));
  });
}

// [[Rcpp::export(.read_covariance)]]
List read_covariance_glue(std::string path, List items, bool strict) {
  return guarded([&](Warnings& w) {
    const std::vector<irteq::Item> form = items_from_r(items, "items", irteq::InputPart::none);
    return covariance_to_r(irteq::read_covariance(std::filesystem::path(path), form, collecting(w, strict)));
  });
}

// [[Rcpp::export(.validate_items)]]
List validate_items_glue(List items, std::string name) {
  return guarded([&](Warnings&) {
    irteq::validate_items(items_from_r(items, name, irteq::InputPart::none), name);
    return R_NilValue;
  });
}

namespace {

// validate() on a run whose only real part is the one checked; the rest is a
// one-item form whose score range the scale table covers, so only that part can fail.
void validate_alone(irteq::EquatingInput input, const std::string& name) {
  const std::vector<double>& raw = input.scale_table.raw;
  const int lowest = !raw.empty() && std::fabs(raw.front()) <= 1e6 ? static_cast<int>(raw.front()) : 0;
  const int rows = static_cast<int>(std::min<std::size_t>(input.scale_table.scale.size(), irteq::max_score_points));
  const irteq::Item item{.number = 1, .model = irteq::ItemModel::l3,
                         .category_scores = {lowest, lowest + std::max(rows - 1, 0)},
                         .parameters = {1.0, 1.0, 0.0, 0.0}};
  input.items_x = input.items_y = {item};
  input.names = {name, name, name, name, name};
  try {
    irteq::validate(input);
  } catch (const irteq::Error& e) {
    irteq::Diagnostic d = e.diagnostic();
    d.input = irteq::InputPart::none;
    throw irteq::Error(e.what(), d);
  }
}

// w2 is an argument of its own in R: its message names it, not the scale table.
void check_w2(double w2) {
  const std::string problem = irteq::w2_problem(w2);
  if (!problem.empty()) {
    throw irteq::Error(problem, {.code = irteq::ErrorCode::invalid_input, .input = irteq::InputPart::scale_table,
                                 .source = "w2"});
  }
}

}  // namespace

// The checks equate() makes on a grid, before write_grid() writes it.
// [[Rcpp::export(.validate_grid)]]
List validate_grid_glue(List grid, std::string name) {
  return guarded([&](Warnings&) {
    irteq::EquatingInput input;
    input.grid_group1 = input.grid_group2 = grid_from_r(grid);
    input.scale_table = {0, 0, {}, {0.0, 0.0}, {0.0, 0.0}};
    validate_alone(input, name);
    return R_NilValue;
  });
}

// The checks equate() makes on a scale table and w2, before write_scale_table() writes them.
// [[Rcpp::export(.validate_scale_table)]]
List validate_scale_table_glue(List scale, double w2, std::string name) {
  return guarded([&](Warnings&) {
    check_w2(w2);
    irteq::EquatingInput input;
    input.grid_group1 = input.grid_group2 = {{0.0}, {1.0}};
    input.scale_table = scale_from_r(scale);
    input.w2 = w2;
    validate_alone(input, name);
    return R_NilValue;
  });
}

// Messages name the inputs by the arguments of equate() in R.
// [[Rcpp::export(.equate)]]
List equate_glue(List x_items, List y_items, List x_grid, List y_grid, List scale, double w2, int threads, SEXP x_cov,
                 SEXP y_cov, bool se, int draws, double seed, bool progress) {
  return guarded([&](Warnings& w) {
    irteq::RunInput run;
    irteq::EquatingInput& input = run.equating;
    input.names = {"x_items", "y_items", "x_grid", "y_grid", "scale"};
    check_w2(w2);
    input.items_y = items_from_r(y_items, input.names.items_y, irteq::InputPart::items_y);
    input.items_x = items_from_r(x_items, input.names.items_x, irteq::InputPart::items_x);
    input.grid_group1 = grid_from_r(x_grid);
    input.grid_group2 = grid_from_r(y_grid);
    input.scale_table = scale_from_r(scale);
    input.w2 = w2;
    const irteq::EquatingResult result = irteq::equate(input, {.threads = threads});
    List value = result_to_r(result, input);
    const StandardErrorRequest request = standard_error_request(se, draws, seed, progress);
    if (request.wanted()) {
      irteq::ParameterCovariances covariances{covariance_from_r(x_cov), covariance_from_r(y_cov), "x_cov", "y_cov"};
      value.push_back(standard_errors_for_r(run, std::nullopt, result, covariances, request, threads, w),
                      "standard_errors");
    }
    return value;
  });
}

// Messages name the inputs by the arguments of link() in R.
// [[Rcpp::export(.link)]]
List link_glue(List x_items, List y_items, List x_grid, List y_grid, IntegerVector x_item, IntegerVector y_item,
               std::string method, bool symmetric) {
  return guarded([&](Warnings&) {
    irteq::LinkingInput input;
    input.names = {"x_items", "y_items", "x_grid", "y_grid", "scale"};
    input.common_items_name = "common";
    input.items_x = items_from_r(x_items, input.names.items_x, irteq::InputPart::items_x);
    input.items_y = items_from_r(y_items, input.names.items_y, irteq::InputPart::items_y);
    input.grid_group1 = grid_from_r(x_grid);
    input.grid_group2 = grid_from_r(y_grid);
    for (R_xlen_t i = 0; i < x_item.size(); ++i) input.common.push_back({x_item[i], y_item[i], 0});
    input.method = linking_method(method);
    input.symmetric = symmetric;
    return linking_to_r(irteq::link(input), input);
  });
}

// As the console program runs a control file: linked first when it names common items.
// [[Rcpp::export(.equate_files)]]
List equate_files_glue(std::string control, bool strict, int threads, bool se, int draws, double seed,
                       bool progress) {
  return guarded([&](Warnings& w) {
    const irteq::ControlFile files = irteq::read_control(std::filesystem::path(control));
    const irteq::RunInput run = irteq::read_run(files, collecting(w, strict));
    const StandardErrorRequest request = standard_error_request(se, draws, seed, progress);
    // Read before the run, so that a covariance file that does not fit stops it at once.
    std::optional<irteq::ParameterCovariances> covariances;
    if (request.wanted()) covariances = irteq::read_covariances(files, run, collecting(w, strict));
    const irteq::EquatingOptions options{.threads = threads};
    std::optional<irteq::LinkingResult> linking;
    std::optional<irteq::EquatingInput> linked;
    if (run.linking) {
      linking = irteq::link(*run.linking);
      linked = irteq::linked_input(run.equating, *linking);
    }
    const irteq::EquatingInput& input = linked ? *linked : run.equating;
    const irteq::EquatingResult result = irteq::equate(input, options);
    List value = result_to_r(result, input);
    if (linking) value.push_back(linking_to_r(*linking, *run.linking), "linking");
    if (request.wanted()) {
      value.push_back(standard_errors_for_r(run, linking, result, *covariances, request, threads, w),
                      "standard_errors");
    }
    return value;
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

// The limits of a run, for R's own checks.
// [[Rcpp::export(.limits)]]
IntegerVector limits_glue() {
  return IntegerVector::create(_["items"] = irteq::max_items, _["categories"] = irteq::max_categories,
                               _["quadrature_points"] = irteq::max_quadrature_points,
                               _["score_points"] = irteq::max_score_points);
}

// ---- the models as functions, and the converters from calibration output ----

namespace {

// Items as the model functions take them: checked as a form, named as the R argument.
std::vector<irteq::Item> checked_items(const List& items, const std::string& name) {
  std::vector<irteq::Item> form = items_from_r(items, name, irteq::InputPart::none);
  irteq::validate_items(form, name);
  return form;
}

}  // namespace

// One row per theta, the categories of every item in turn.
// [[Rcpp::export(.probabilities)]]
List probabilities_glue(List items, NumericVector theta) {
  return guarded([&](Warnings&) {
    const std::vector<irteq::Item> form = checked_items(items, "items");
    R_xlen_t columns = 0;
    for (const irteq::Item& item : form) columns += static_cast<R_xlen_t>(item.category_scores.size());
    Rcpp::NumericMatrix p(theta.size(), columns);
    for (R_xlen_t t = 0; t < theta.size(); ++t) {
      R_xlen_t column = 0;
      for (const irteq::Item& item : form) {
        for (const double value : irteq::probabilities(item, theta[t], "items")) p(t, column++) = value;
      }
    }
    return p;
  });
}

// One row per theta, one column per item.
// [[Rcpp::export(.expected_scores)]]
List expected_scores_glue(List items, NumericVector theta) {
  return guarded([&](Warnings&) {
    const std::vector<irteq::Item> form = checked_items(items, "items");
    Rcpp::NumericMatrix scores(theta.size(), static_cast<R_xlen_t>(form.size()));
    for (R_xlen_t t = 0; t < theta.size(); ++t) {
      for (std::size_t i = 0; i < form.size(); ++i) {
        scores(t, static_cast<R_xlen_t>(i)) = irteq::expected_score(form[i], theta[t], "items");
      }
    }
    return scores;
  });
}

// [[Rcpp::export(.tcc)]]
List tcc_glue(List items, NumericVector theta) {
  return guarded([&](Warnings&) {
    const std::vector<double> thetas(theta.begin(), theta.end());
    return doubles(irteq::test_characteristic_curve(checked_items(items, "items"), thetas, "items"));
  });
}

// sources: list(item, form, D, scores, values), shapes checked by R (R/convert.R);
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
    }
    if (covariance.isNull()) return List::create(_["items"] = items_to_r(irteq::convert_items(items, name)));
    const Rcpp::NumericMatrix s(covariance.get());
    irteq::Covariance source{static_cast<std::size_t>(s.nrow()), {}};
    if (s.nrow() == s.ncol()) {
      for (R_xlen_t i = 0; i < s.nrow(); ++i) {
        for (R_xlen_t j = 0; j < s.ncol(); ++j) source.values.push_back(s(i, j));
      }
    }
    const irteq::ConvertedItems converted = irteq::convert_items(items, source, name);
    const auto p = static_cast<R_xlen_t>(converted.covariance.size);
    Rcpp::NumericMatrix carried(p, p);
    for (R_xlen_t i = 0; i < p; ++i) {
      for (R_xlen_t j = 0; j < p; ++j) carried(i, j) = converted.covariance.values[static_cast<std::size_t>(i * p + j)];
    }
    return List::create(_["items"] = items_to_r(converted.items), _["covariance"] = carried);
  });
}
