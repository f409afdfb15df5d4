// The library's results into Python: dicts of columns (numpy arrays of
// doubles, lists of text and whole numbers), which the Python layer turns
// into DataFrames. NaN stands for a number that is absent, None for absent
// text or counts.
#include <charconv>
#include <cmath>
#include <limits>

#include <pybind11/stl.h>

#include "glue.hpp"

namespace irteq_python {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

double or_nan(const std::optional<double>& x) { return x ? *x : nan; }

py::object or_none(const std::optional<int>& x) { return x ? py::object(py::int_(*x)) : py::object(py::none()); }

// A column filled by value(i) for i < n.
template <class Value>
py::array_t<double> column(std::size_t n, Value&& value) {
  py::array_t<double> out(static_cast<py::ssize_t>(n));
  double* data = out.mutable_data();
  for (std::size_t i = 0; i < n; ++i) data[i] = value(i);
  return out;
}

template <class Value>
py::list list_of(std::size_t n, Value&& value) {
  py::list out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = value(i);
  return out;
}

py::str text(std::string_view s) { return py::str(s.data(), s.size()); }

// An equating's name for none, a level without cuts: None, as the CSV files leave the field empty.
py::object text_or_none(std::string_view s) { return s.empty() ? py::object(py::none()) : py::object(text(s)); }

}  // namespace

std::string number_text(double x) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
  return std::string(buffer, end);
}

py::array_t<double> array(const std::vector<double>& v) {
  return column(v.size(), [&](std::size_t i) { return v[i]; });
}

py::dict items_to(const std::vector<irteq::Item>& items) {
  py::dict d;
  d["item"] = list_of(items.size(), [&](std::size_t i) { return py::int_(items[i].number); });
  d["label"] = list_of(items.size(), [&](std::size_t i) { return py::str(items[i].label); });
  d["type"] = list_of(items.size(), [&](std::size_t i) { return text(irteq::item_code(items[i].model)); });
  d["scores"] = list_of(items.size(), [&](std::size_t i) { return py::cast(items[i].category_scores); });
  d["parameters"] = list_of(items.size(), [&](std::size_t i) { return array(items[i].parameters); });
  return d;
}

py::dict grid_to(const irteq::QuadratureGrid& grid) {
  py::dict d;
  d["theta"] = array(grid.points);
  d["weight"] = array(grid.weights);
  return d;
}

py::dict covariance_to(const irteq::Covariance& c) {
  const auto n = static_cast<py::ssize_t>(c.size);
  py::array_t<double> m({n, n});
  std::copy(c.values.begin(), c.values.end(), m.mutable_data());
  py::dict d;
  d["values"] = m;
  d["guessing"] = c.guessing == irteq::GuessingMetric::logit ? "logit" : "probability";
  return d;
}

py::dict eap_to(const irteq::EapTable& t) {
  py::dict d;
  d["raw"] = array(t.raw_scores);
  d["probability"] = array(t.probabilities);
  d["eap"] = column(t.eap.size(), [&](std::size_t i) { return or_nan(t.eap[i]); });
  d["sd"] = column(t.sd.size(), [&](std::size_t i) { return or_nan(t.sd[i]); });
  return d;
}

// theta is NaN where no ability was searched; the chance score ends true
// score equating's straight line, for plots.
py::dict equating_to(const irteq::EquatingResult& r) {
  const irteq::TrueScoreEquating& t = r.true_score;
  py::dict true_score;
  true_score["raw"] = array(r.x.raw_scores);
  true_score["theta"] = column(t.thetas.size(), [&](std::size_t i) {
    return t.theta_kinds[i] == irteq::ThetaKind::searched ? t.thetas[i] : nan;
  });
  true_score["equivalent"] = array(t.equivalents);
  true_score["scale"] = array(t.scale);
  true_score["rounded"] = array(t.rounded);
  py::dict observed;
  observed["raw"] = array(r.x.raw_scores);
  observed["equivalent"] = array(r.observed_score.equivalents);
  observed["scale"] = array(r.observed_score.scale);
  observed["rounded"] = array(r.observed_score.rounded);

  const std::size_t nx = r.x.raw_scores.size();
  const std::size_t n = nx + r.y.raw_scores.size();
  const auto point = [&](std::size_t i, auto member) {
    return i < nx ? (r.x.*member)[i] : (r.y.*member)[i - nx];
  };
  py::dict distributions;
  distributions["form"] = list_of(n, [&](std::size_t i) { return py::str(i < nx ? "X" : "Y"); });
  distributions["raw"] = column(n, [&](std::size_t i) { return point(i, &irteq::FormDistributions::raw_scores); });
  distributions["group1"] = column(n, [&](std::size_t i) { return point(i, &irteq::FormDistributions::group1); });
  distributions["group2"] = column(n, [&](std::size_t i) { return point(i, &irteq::FormDistributions::group2); });
  distributions["synthetic"] = column(n, [&](std::size_t i) { return point(i, &irteq::FormDistributions::synthetic); });

  const auto& m = r.moments;
  py::dict moments;
  moments["block"] = list_of(m.size(), [&](std::size_t i) { return text(irteq::moments_block_name(m[i].block)); });
  moments["group"] = list_of(m.size(), [&](std::size_t i) { return text(irteq::moments_group_name(m[i].group)); });
  moments["score"] = list_of(m.size(), [&](std::size_t i) { return text(irteq::moments_score_name(m[i].score)); });
  moments["mean"] = column(m.size(), [&](std::size_t i) { return m[i].moments.mean; });
  moments["sd"] = column(m.size(), [&](std::size_t i) { return m[i].moments.sd; });
  moments["skewness"] = column(m.size(), [&](std::size_t i) { return m[i].moments.skewness; });
  moments["kurtosis"] = column(m.size(), [&](std::size_t i) { return m[i].moments.kurtosis; });

  const auto& w = r.warnings;
  py::dict warnings;
  warnings["raw"] = column(w.size(), [&](std::size_t i) { return w[i].raw_score; });
  warnings["problem"] = list_of(w.size(), [&](std::size_t i) { return text(irteq::root_finder_problem_name(w[i].problem)); });
  warnings["theta"] = column(w.size(), [&](std::size_t i) { return w[i].theta; });
  warnings["message"] = list_of(w.size(), [&](std::size_t i) { return py::str(irteq::warning_message(w[i])); });

  py::dict out;
  out["true_score"] = true_score;
  out["observed_score"] = observed;
  out["distributions"] = distributions;
  out["moments"] = moments;
  out["warnings"] = warnings;
  out["synthetic_adjusted"] = py::make_tuple(r.x.synthetic_adjusted, r.y.synthetic_adjusted);
  out["chance_score"] = t.chance_score;
  out["input_warnings"] = py::cast(r.input_warnings);
  return out;
}

namespace {

// The item of an anchor's number and label (link() has checked that the pair names one).
const irteq::Item& numbered(const std::vector<irteq::Item>& items, int number, const std::string& label) {
  return *std::find_if(items.begin(), items.end(),
                       [&](const irteq::Item& item) { return item.number == number && item.label == label; });
}

py::dict anchors_to(const irteq::LinkingResult& r) {
  const auto& a = r.anchors;
  const std::size_t n = a.size();
  py::dict d;
  d["x_item"] = list_of(n, [&](std::size_t i) { return py::int_(a[i].x_number); });
  d["y_item"] = list_of(n, [&](std::size_t i) { return py::int_(a[i].y_number); });
  d["model"] = list_of(n, [&](std::size_t i) { return text(irteq::item_code(a[i].model)); });
  d["rmsd"] = column(n, [&](std::size_t i) { return a[i].rmsd; });
  d["mean_difference"] = column(n, [&](std::size_t i) { return a[i].mean_difference; });
  d["z_slope"] = column(n, [&](std::size_t i) { return or_nan(a[i].z_slope); });
  d["z_location"] = column(n, [&](std::size_t i) { return or_nan(a[i].z_location); });
  d["wald"] = column(n, [&](std::size_t i) { return or_nan(a[i].wald); });
  d["wald_df"] = list_of(n, [&](std::size_t i) { return or_none(a[i].wald_df); });
  d["wald_p"] = column(n, [&](std::size_t i) { return or_nan(a[i].wald_p); });
  d["flagged"] = list_of(n, [&](std::size_t i) { return py::bool_(a[i].flagged); });
  d["removed_round"] = list_of(n, [&](std::size_t i) { return py::int_(a[i].removed_round); });
  d["x_label"] = list_of(n, [&](std::size_t i) { return py::str(a[i].x_label); });
  d["y_label"] = list_of(n, [&](std::size_t i) { return py::str(a[i].y_label); });
  return d;
}

// The pairs each round flags, as "x/y x/y" ("" for none).
py::dict rounds_to(const irteq::LinkingResult& r) {
  const auto& s = r.rounds;
  py::dict d;
  d["round"] = list_of(s.size(), [&](std::size_t i) { return py::int_(s[i].round); });
  d["A"] = column(s.size(), [&](std::size_t i) { return s[i].A; });
  d["B"] = column(s.size(), [&](std::size_t i) { return s[i].B; });
  d["flagged"] = list_of(s.size(), [&](std::size_t i) {
    std::string pairs;
    for (const std::size_t k : s[i].flagged) {
      if (!pairs.empty()) pairs += ' ';
      pairs += std::to_string(r.anchors[k].x_number) + "/" + std::to_string(r.anchors[k].y_number);
    }
    return py::str(pairs);
  });
  return d;
}

}  // namespace

// Moment methods have no criterion nor steps: NaN and None there; se_A and
// se_B when the delta method gave them.
py::dict linking_to(const irteq::LinkingResult& r, const irteq::EquatingInput& forms) {
  const auto& m = r.methods;
  const std::size_t n = m.size();
  py::dict methods;
  methods["method"] = list_of(n, [&](std::size_t i) { return text(irteq::linking_method_name(m[i].method)); });
  methods["A"] = column(n, [&](std::size_t i) { return or_nan(m[i].A); });
  methods["B"] = column(n, [&](std::size_t i) { return or_nan(m[i].B); });
  methods["criterion"] = column(n, [&](std::size_t i) { return or_nan(m[i].criterion); });
  methods["iterations"] = list_of(n, [&](std::size_t i) { return or_none(m[i].iterations); });
  methods["available"] = list_of(n, [&](std::size_t i) { return py::bool_(m[i].available()); });
  methods["problem"] = list_of(n, [&](std::size_t i) { return py::str(m[i].problem); });
  if (std::any_of(m.begin(), m.end(), [](const irteq::MethodConstants& c) { return c.se_A.has_value(); })) {
    methods["se_A"] = column(n, [&](std::size_t i) { return or_nan(m[i].se_A); });
    methods["se_B"] = column(n, [&](std::size_t i) { return or_nan(m[i].se_B); });
  }
  std::vector<irteq::Item> x, linked, y;
  for (const irteq::AnchorFit& anchor : r.anchors) {
    x.push_back(numbered(forms.items_x, anchor.x_number, anchor.x_label));
    linked.push_back(numbered(r.items_x, anchor.x_number, anchor.x_label));
    y.push_back(numbered(forms.items_y, anchor.y_number, anchor.y_label));
  }
  py::dict common;
  common["x"] = items_to(x);
  common["x_linked"] = items_to(linked);
  common["y"] = items_to(y);

  const bool screened = r.screen != irteq::ScreeningStatistic::none;
  py::dict out;
  out["methods"] = methods;
  out["method"] = text(irteq::linking_method_name(r.applied));
  out["symmetric"] = r.symmetric;
  out["A"] = r.A;
  out["B"] = r.B;
  out["screen"] = text(irteq::screening_statistic_name(r.screen));
  out["cut"] = screened ? py::object(py::float_(r.cut)) : py::object(py::none());
  out["anchors"] = anchors_to(r);
  out["rounds"] = rounds_to(r);
  out["robust_z_notes"] = py::cast(r.robust_z_notes);
  out["x_items"] = items_to(r.items_x);
  out["x_grid"] = grid_to(r.grid_group1);
  out["y_grid"] = grid_to(forms.grid_group2);
  out["common_items"] = common;
  return out;
}

namespace {

// A route's columns, absent where it was not run.
py::dict point_errors_to(const irteq::PointStandardErrors& e) {
  py::dict d;
  if (e.delta) d["delta"] = array(*e.delta);
  if (e.draws) {
    const auto& s = *e.draws;
    d["draws_sd"] = column(s.size(), [&](std::size_t i) { return s[i].sd; });
    d["draws_lower"] = column(s.size(), [&](std::size_t i) { return s[i].lower; });
    d["draws_upper"] = column(s.size(), [&](std::size_t i) { return s[i].upper; });
  }
  return d;
}

py::dict constant_errors_to(const std::optional<double>& delta, const std::optional<irteq::DrawSpread>& drawn) {
  py::dict d;
  d["delta"] = or_nan(delta);
  d["draws_sd"] = drawn ? drawn->sd : nan;
  d["draws_lower"] = drawn ? drawn->lower : nan;
  d["draws_upper"] = drawn ? drawn->upper : nan;
  return d;
}

}  // namespace

py::dict standard_errors_to(const irteq::StandardErrors& e, const std::optional<irteq::LinkingResult>& linking) {
  py::dict out;
  out["true_raw"] = point_errors_to(e.true_raw);
  out["true_scale"] = point_errors_to(e.true_scale);
  out["observed_raw"] = point_errors_to(e.observed_raw);
  out["observed_scale"] = point_errors_to(e.observed_scale);
  out["draws"] = e.draws;
  out["redraws"] = e.redraws;
  py::list form, item, number, label, count;
  for (const irteq::InvalidDrawnItem& invalid : e.invalid_items) {
    form.append(std::string(1, invalid.form)), item.append(invalid.item), number.append(invalid.number);
    label.append(invalid.label), count.append(invalid.count);
  }
  out["invalid_items"] = py::dict(py::arg("form") = form, py::arg("item") = item, py::arg("number") = number,
                                  py::arg("label") = label, py::arg("count") = count);
  if (linking) {
    const irteq::MethodConstants& applied = linking->methods[static_cast<std::size_t>(linking->applied)];
    py::dict constants;
    constants["A"] = constant_errors_to(applied.se_A, e.A_draws);
    constants["B"] = constant_errors_to(applied.se_B, e.B_draws);
    out["linking"] = constants;
  }
  return out;
}

// The columns of the console's conversion.csv, eap.csv, csem.csv,
// reliability.csv and classification.csv (with cut scores only).
py::dict tables_to(const irteq::EquatingResult& r, const irteq::ReportTables& t) {
  const std::size_t nx = r.x.raw_scores.size();
  const irteq::ConversionTable& c = t.conversion;
  const auto levels = [&](const std::vector<int>& level) {
    return list_of(nx, [&](std::size_t i) -> py::object {
      if (i >= level.size()) return py::none();
      return py::str(t.cut_scores->levels[static_cast<std::size_t>(level[i])]);
    });
  };
  py::dict conversion;
  conversion["raw"] = array(r.x.raw_scores);
  conversion["true_equivalent"] = array(r.true_score.equivalents);
  conversion["true_scale"] = array(r.true_score.scale);
  conversion["true_reported"] = array(c.true_reported);
  conversion["true_level"] = levels(c.true_level);
  conversion["observed_equivalent"] = array(r.observed_score.equivalents);
  conversion["observed_scale"] = array(r.observed_score.scale);
  conversion["observed_reported"] = array(c.observed_reported);
  conversion["observed_level"] = levels(c.observed_level);

  const std::size_t ex = t.eap_x.raw_scores.size();
  const std::size_t en = ex + t.eap_y.raw_scores.size();
  const auto eap_value = [&](std::size_t i, auto member) {
    return i < ex ? (t.eap_x.*member)[i] : (t.eap_y.*member)[i - ex];
  };
  py::dict eap;
  eap["form"] = list_of(en, [&](std::size_t i) { return py::str(i < ex ? "X" : "Y"); });
  eap["raw"] = column(en, [&](std::size_t i) { return eap_value(i, &irteq::EapTable::raw_scores); });
  eap["probability"] = column(en, [&](std::size_t i) { return eap_value(i, &irteq::EapTable::probabilities); });
  eap["eap"] = column(en, [&](std::size_t i) { return or_nan(eap_value(i, &irteq::EapTable::eap)); });
  eap["sd"] = column(en, [&](std::size_t i) { return or_nan(eap_value(i, &irteq::EapTable::sd)); });

  const auto& s = t.csem;
  py::dict csem;
  csem["form"] = list_of(s.size(), [&](std::size_t i) { return text(irteq::table_form_name(s[i].form)); });
  csem["group"] = list_of(s.size(), [&](std::size_t i) { return py::int_(s[i].group); });
  csem["equating"] = list_of(s.size(), [&](std::size_t i) { return text_or_none(irteq::table_equating_name(s[i].equating)); });
  csem["metric"] = list_of(s.size(), [&](std::size_t i) { return text(irteq::table_metric_name(s[i].metric)); });
  csem["theta"] = column(s.size(), [&](std::size_t i) { return s[i].theta; });
  csem["raw"] = column(s.size(), [&](std::size_t i) { return or_nan(s[i].raw_score); });
  csem["csem"] = column(s.size(), [&](std::size_t i) { return s[i].csem; });

  const auto& q = t.reliability;
  py::dict reliability;
  reliability["form"] = list_of(q.size(), [&](std::size_t i) { return text(irteq::table_form_name(q[i].form)); });
  reliability["group"] = list_of(q.size(), [&](std::size_t i) { return py::int_(q[i].group); });
  reliability["equating"] = list_of(q.size(), [&](std::size_t i) { return text_or_none(irteq::table_equating_name(q[i].equating)); });
  reliability["metric"] = list_of(q.size(), [&](std::size_t i) { return text(irteq::table_metric_name(q[i].metric)); });
  reliability["reliability"] = column(q.size(), [&](std::size_t i) { return q[i].reliability; });

  py::dict out;
  out["conversion"] = conversion;
  out["eap"] = eap;
  out["csem"] = csem;
  out["reliability"] = reliability;
  if (t.cut_scores) {
    const auto& k = t.classification;
    py::dict classification;
    classification["form"] = list_of(k.size(), [&](std::size_t i) { return text(irteq::table_form_name(k[i].form)); });
    classification["group"] = list_of(k.size(), [&](std::size_t i) { return py::int_(k[i].group); });
    classification["equating"] = list_of(k.size(), [&](std::size_t i) { return text_or_none(irteq::table_equating_name(k[i].equating)); });
    classification["cut"] = column(k.size(), [&](std::size_t i) { return or_nan(k[i].cut); });
    classification["accuracy"] = column(k.size(), [&](std::size_t i) { return k[i].accuracy; });
    classification["consistency"] = column(k.size(), [&](std::size_t i) { return k[i].consistency; });
    classification["false_positive"] = column(k.size(), [&](std::size_t i) { return k[i].false_positive; });
    classification["false_negative"] = column(k.size(), [&](std::size_t i) { return k[i].false_negative; });
    classification["kappa"] = column(k.size(), [&](std::size_t i) { return or_nan(k[i].kappa); });
    out["classification"] = classification;
    py::dict cut_scores;
    cut_scores["cuts"] = array(t.cut_scores->cuts);
    cut_scores["levels"] = py::cast(t.cut_scores->levels);
    out["cut_scores"] = cut_scores;
  }
  out["scale_min"] = t.scale_min;
  out["scale_max"] = t.scale_max;
  return out;
}

}  // namespace irteq_python
