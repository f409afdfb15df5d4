// Python's inputs into the library's structs. The Python layer has checked
// shapes and types (irteq/_checks.py); codes and values are the library's to check.
#include <algorithm>

#include <pybind11/stl.h>

#include "glue.hpp"

namespace irteq_python {

std::vector<double> doubles_from(py::handle x) {
  const auto a = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(x);
  if (!a) throw py::type_error("expected numbers");
  return std::vector<double>(a.data(), a.data() + a.size());
}

namespace {

std::vector<std::string> strings_from(py::handle x) { return py::cast<std::vector<std::string>>(x); }

}  // namespace

std::vector<irteq::Item> items_from(const py::dict& x, const std::string& name, irteq::InputPart part) {
  const auto number = py::cast<std::vector<int>>(x["item"]);
  const auto label = strings_from(x["label"]);
  const auto type = strings_from(x["type"]);
  const py::list scores = x["scores"];
  const py::list parameters = x["parameters"];
  std::vector<irteq::Item> items(number.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    irteq::Item& item = items[i];
    item.number = number[i];
    item.label = label[i];
    item.category_scores = py::cast<std::vector<int>>(scores[i]);
    item.parameters = doubles_from(parameters[i]);
    item.model = irteq::checked_item_model(type[i], name, static_cast<int>(i + 1), item.number,
                                           static_cast<int>(item.category_scores.size()), part);
  }
  return items;
}

irteq::QuadratureGrid grid_from(const py::dict& x) { return {doubles_from(x["theta"]), doubles_from(x["weight"])}; }

irteq::ScaleTable scale_from(const py::dict& x) {
  return {py::cast<int>(x["scale_min"]), py::cast<int>(x["scale_max"]), doubles_from(x["raw"]),
          doubles_from(x["scale"]), doubles_from(x["rounded"])};
}

std::optional<irteq::Covariance> covariance_from(const py::object& x) {
  if (x.is_none()) return std::nullopt;
  const py::dict d = x;
  const auto m = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(d["values"]);
  if (!m || m.ndim() != 2 || m.shape(0) != m.shape(1)) throw py::value_error("a covariance must be a square matrix");
  const auto n = static_cast<std::size_t>(m.shape(0));
  const bool logit = py::cast<std::string>(d["guessing"]) == "logit";
  return irteq::Covariance{n, std::vector<double>(m.data(), m.data() + n * n),
                           logit ? irteq::GuessingMetric::logit : irteq::GuessingMetric::probability};
}

irteq::ParameterCovariances covariances_from(const py::object& x_cov, const py::object& y_cov) {
  return {covariance_from(x_cov), covariance_from(y_cov), "x_cov", "y_cov"};
}

irteq::LinkingInput linking_from(const py::dict& x) {
  const auto x_item = py::cast<std::vector<int>>(x["x_item"]);
  const auto y_item = py::cast<std::vector<int>>(x["y_item"]);
  const auto x_label = strings_from(x["x_label"]);
  const auto y_label = strings_from(x["y_label"]);
  irteq::LinkingInput linking;
  linking.common_items_name = "common";
  for (std::size_t i = 0; i < x_item.size(); ++i) {
    linking.common.push_back({x_item[i], y_item[i], 0, x_label[i], y_label[i]});
  }
  // The Python layer has taken the names through the library's parsers.
  const auto method = py::cast<std::string>(x["method"]);
  linking.method = irteq::linking_method(method).value_or(irteq::LinkingMethod::stocking_lord);
  linking.symmetric = py::cast<bool>(x["symmetric"]);
  linking.screen = irteq::screening_statistic(py::cast<std::string>(x["screen"])).value_or(irteq::ScreeningStatistic::none);
  linking.cut = py::cast<double>(x["cut"]);
  return linking;
}

std::optional<irteq::CutScores> cut_scores_from(const py::object& cuts, const py::object& levels) {
  if (cuts.is_none()) return std::nullopt;
  irteq::CutScores cut_scores;
  cut_scores.cuts = doubles_from(cuts);
  if (!levels.is_none()) cut_scores.levels = strings_from(levels);
  cut_scores.name = "cuts";
  return cut_scores;
}

// Named in messages by the arguments of equate() and link().
irteq::EquatingInput forms_from(const py::dict& x_items, const py::dict& y_items, const py::dict& x_grid,
                                const py::dict& y_grid) {
  irteq::EquatingInput input;
  input.names = {"x_items", "y_items", "x_grid", "y_grid", "scale"};
  input.items_y = items_from(y_items, input.names.items_y, irteq::InputPart::items_y);
  input.items_x = items_from(x_items, input.names.items_x, irteq::InputPart::items_x);
  input.grid_group1 = grid_from(x_grid);
  input.grid_group2 = grid_from(y_grid);
  return input;
}

irteq::ReadOptions collecting(Warnings& warnings, bool strict) {
  irteq::ReadOptions options;
  options.warning = [&warnings](std::string_view line) { warnings.emplace_back(line); };
  options.strict = strict;
  return options;
}

}  // namespace irteq_python
