// The models' entry points: probabilities, expected scores, the test
// characteristic curve, the EAP table, the converters, and the names and
// checks the Python layer asks the library for.
#include <algorithm>

#include <pybind11/stl.h>

#include "glue.hpp"

namespace irteq_python {
namespace {

void validate_items_glue(const py::dict& items, const std::string& name) {
  irteq::validate_items(items_from(items, name, irteq::InputPart::none), name);
}

void validate_grid_glue(const py::dict& grid, const std::string& name) {
  irteq::validate_grid(grid_from(grid), name);
}

py::list parameter_names_glue(const py::dict& items, bool estimated) {
  const auto number = py::cast<std::vector<int>>(items["item"]);
  const auto type = py::cast<std::vector<std::string>>(items["type"]);
  const py::list scores = items["scores"];
  py::list names;
  for (std::size_t i = 0; i < type.size(); ++i) {
    const auto m = static_cast<int>(py::len(scores[i]));
    const irteq::ItemModel model = irteq::checked_item_model(type[i], "items", static_cast<int>(i + 1), number[i], m);
    names.append(py::cast(estimated ? irteq::estimated_parameter_names(model, m) : irteq::parameter_names(model, m)));
  }
  return names;
}

py::object linking_method_glue(const std::string& name) {
  const auto method = irteq::linking_method(name);
  return method ? py::object(py::str(std::string(irteq::linking_method_name(*method)))) : py::object(py::none());
}

py::object screening_statistic_glue(const std::string& name) {
  const auto s = irteq::screening_statistic(name);
  return s ? py::object(py::str(std::string(irteq::screening_statistic_name(*s)))) : py::object(py::none());
}

// thetas x columns, row-major as the library gives it.
py::array_t<double> matrix(std::vector<double> values, std::size_t rows) {
  const std::size_t columns = rows == 0 ? 0 : values.size() / rows;
  py::array_t<double> out({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(columns)});
  std::copy(values.begin(), values.end(), out.mutable_data());
  return out;
}

py::array_t<double> probabilities_glue(const py::dict& items, const py::object& theta) {
  const auto form = items_from(items, "items", irteq::InputPart::none);
  const std::vector<double> thetas = doubles_from(theta);
  std::vector<double> p;
  {
    py::gil_scoped_release released;
    p = irteq::probabilities(form, thetas, "items");
  }
  if (thetas.empty()) {
    std::size_t columns = 0;
    for (const irteq::Item& item : form) columns += item.category_scores.size();
    return py::array_t<double>(std::vector<py::ssize_t>{0, static_cast<py::ssize_t>(columns)});
  }
  return matrix(std::move(p), thetas.size());
}

py::array_t<double> expected_scores_glue(const py::dict& items, const py::object& theta) {
  const auto form = items_from(items, "items", irteq::InputPart::none);
  const std::vector<double> thetas = doubles_from(theta);
  std::vector<double> s;
  {
    py::gil_scoped_release released;
    s = irteq::expected_scores(form, thetas, "items");
  }
  if (thetas.empty()) return py::array_t<double>(std::vector<py::ssize_t>{0, static_cast<py::ssize_t>(form.size())});
  return matrix(std::move(s), thetas.size());
}

py::array_t<double> tcc_glue(const py::dict& items, const py::object& theta) {
  const auto form = items_from(items, "items", irteq::InputPart::none);
  const std::vector<double> thetas = doubles_from(theta);
  std::vector<double> curve;
  {
    py::gil_scoped_release released;
    curve = irteq::test_characteristic_curve(form, thetas, "items");
  }
  return array(curve);
}

py::dict eap_table_glue(const py::dict& items, const py::dict& grid) {
  const auto form = items_from(items, "items", irteq::InputPart::none);
  const irteq::QuadratureGrid g = grid_from(grid);
  irteq::EapTable t;
  {
    py::gil_scoped_release released;
    t = irteq::eap_table(form, g, "items");
  }
  return eap_to(t);
}

// sources: item, form, D, scores, values, label; covariance: None or a dict as covariance_from takes.
py::dict convert_items_glue(const py::dict& sources, const py::object& covariance, const std::string& name) {
  const auto number = py::cast<std::vector<int>>(sources["item"]);
  const auto form = py::cast<std::vector<std::string>>(sources["form"]);
  const std::vector<double> D = doubles_from(sources["D"]);
  const py::list scores = sources["scores"];
  const py::list values = sources["values"];
  const auto label = py::cast<std::vector<std::string>>(sources["label"]);
  std::vector<irteq::SourceItem> items(number.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto known = irteq::source_form(form[i]);
    if (!known) {
      throw irteq::Error(name + ": item " + std::to_string(i + 1) + ": unknown parameterisation '" + form[i] + "'",
                         {.code = irteq::ErrorCode::invalid_input, .source = name, .item = static_cast<int>(i + 1)});
    }
    items[i] = {number[i], *known, D[i], py::cast<std::vector<int>>(scores[i]), doubles_from(values[i]), label[i]};
  }
  py::dict out;
  if (covariance.is_none()) {
    out["items"] = items_to(irteq::convert_items(items, name));
    return out;
  }
  const irteq::ConvertedItems converted = irteq::convert_items(items, *covariance_from(covariance), name);
  out["items"] = items_to(converted.items);
  out["covariance"] = covariance_to(converted.covariance);
  return out;
}

// Each item's slope and locations as the library pools them, for the drift plot.
py::list slope_and_locations_glue(const py::dict& items) {
  py::list out;
  for (const irteq::Item& item : items_from(items, "items", irteq::InputPart::none)) {
    const irteq::SlopeAndLocations t = irteq::slope_and_locations(item);
    py::dict terms;
    terms["slope"] = array(t.slopes);
    terms["location"] = array(t.locations);
    out.append(terms);
  }
  return out;
}

py::dict normal_grid_glue(double mean, double sd, int points, double low, double high) {
  return grid_to(irteq::normal_grid(mean, sd, points, low, high));
}

py::list number_text_glue(const py::object& x) {
  py::list out;
  for (const double v : doubles_from(x)) out.append(number_text(v));
  return out;
}

}  // namespace

void bind_models(py::module_& m) {
  m.def("validate_items", &validate_items_glue);
  m.def("validate_grid", &validate_grid_glue);
  m.def("parameter_names", &parameter_names_glue);
  m.def("linking_method", &linking_method_glue);
  m.def("screening_statistic", &screening_statistic_glue);
  m.def("probabilities", &probabilities_glue);
  m.def("expected_scores", &expected_scores_glue);
  m.def("tcc", &tcc_glue);
  m.def("eap_table", &eap_table_glue);
  m.def("convert_items", &convert_items_glue);
  m.def("slope_and_locations", &slope_and_locations_glue);
  m.def("number_text", &number_text_glue);
  m.def("normal_grid", &normal_grid_glue);
}

}  // namespace irteq_python
