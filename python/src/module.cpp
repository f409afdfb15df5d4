// irteq._core: the entry points the Python package calls (irteq/*.py), each
// a translation of plain Python data to the library's public API and back.
// Readers' warnings come back as lists of messages; the Python layer warns.
#include <charconv>
#include <filesystem>
#include <span>
#include <sstream>

#include <pybind11/stl.h>

#include "glue.hpp"
#include "run.hpp"

namespace irteq_python {
namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

std::string number_text(double x) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
  return std::string(buffer, end);
}

// Cut scores given in Python, as the run's record shows them: no file holds them.
Options cut_scores_options(const std::optional<irteq::CutScores>& cuts) {
  if (!cuts) return {};
  std::string values, names;
  for (const double cut : cuts->cuts) values.append(values.empty() ? "" : " ").append(number_text(cut));
  for (const std::string& level : cuts->levels) {
    names.append(names.empty() ? "\"" : " \"");
    for (const char c : level) names.append(c == '"' ? "\"\"" : std::string(1, c));
    names += '"';
  }
  Options options{{"cuts", values}};
  if (!cuts->levels.empty()) options.emplace_back("levels", names);
  return options;
}

std::shared_ptr<Run> equate_glue(const py::dict& x_items, const py::dict& y_items, const py::dict& x_grid,
                                 const py::dict& y_grid, const py::object& scale, double w2, const py::object& x_cov,
                                 const py::object& y_cov, const py::object& linking, const py::object& cuts,
                                 const py::object& levels, const py::dict& request) {
  irteq::RunInput input;
  input.equating = forms_from(x_items, y_items, x_grid, y_grid);
  // Without a table, form Y's raw scores are its scale.
  input.equating.scale_table =
      scale.is_none() ? irteq::raw_score_table(input.equating.items_y, "y_items") : scale_from(scale);
  input.equating.w2 = w2;
  if (!linking.is_none()) input.linking = linking_from(linking);
  input.cut_scores = cut_scores_from(cuts, levels);
  const Options options = cut_scores_options(input.cut_scores);
  return run(std::move(input), covariances_from(x_cov, y_cov), request, "Python equate()", options);
}

py::tuple equate_files_glue(const std::string& control, bool strict, const py::dict& request) {
  Warnings warnings;
  const irteq::ControlFile files = irteq::read_control(std::filesystem::path(control));
  irteq::RunInput input = irteq::read_run(files, collecting(warnings, strict));
  const bool wanted = py::cast<bool>(request["se"]) || py::cast<int>(request["draws"]) > 0;
  irteq::ParameterCovariances covariances =
      irteq::read_run_covariances(files, input, wanted, collecting(warnings, strict));
  auto out = run(std::move(input), std::move(covariances), request, "Python equate_files()",
                 {{"strict", strict ? "true" : "false"}});
  return py::make_tuple(out, warnings);
}

py::dict link_glue(const py::dict& x_items, const py::dict& y_items, const py::dict& x_grid, const py::dict& y_grid,
                   const py::dict& linking, const py::object& x_cov, const py::object& y_cov) {
  const irteq::EquatingInput forms = forms_from(x_items, y_items, x_grid, y_grid);
  const irteq::LinkingInput pairs = linking_from(linking);
  const bool errors = !x_cov.is_none() || !y_cov.is_none();
  const irteq::ParameterCovariances covariances = covariances_from(x_cov, y_cov);
  irteq::LinkingResult result;
  {
    py::gil_scoped_release released;
    result = errors ? irteq::link(forms, pairs, covariances) : irteq::link(forms, pairs);
  }
  return linking_to(result, forms);
}

// ---- files ----

py::tuple read_items_glue(const std::string& path, bool strict) {
  Warnings w;
  py::dict items = items_to(irteq::read_items(std::filesystem::path(path), collecting(w, strict)));
  return py::make_tuple(items, w);
}

py::tuple read_grid_glue(const std::string& path, bool strict) {
  Warnings w;
  py::dict grid = grid_to(irteq::read_grid(std::filesystem::path(path), collecting(w, strict)));
  return py::make_tuple(grid, w);
}

py::tuple read_scale_table_glue(const std::string& path, bool strict) {
  Warnings w;
  const irteq::RawToScaleFile f = irteq::read_scale_table(std::filesystem::path(path), collecting(w, strict));
  py::dict d;
  d["raw"] = array(f.table.raw);
  d["scale"] = array(f.table.scale);
  d["rounded"] = array(f.table.rounded);
  d["scale_min"] = f.table.scale_min;
  d["scale_max"] = f.table.scale_max;
  d["w2"] = f.w2;
  return py::make_tuple(d, w);
}

py::dict read_control_glue(const std::string& path) {
  const irteq::ControlFile f = irteq::read_control(std::filesystem::path(path));
  py::dict d;
  d["output"] = f.output;
  d["old_para"] = f.old_para;
  d["old_quad"] = f.old_quad;
  d["raw2scale"] = f.raw2scale;
  d["new_para"] = f.new_para;
  d["new_quad"] = f.new_quad;
  d["common_items"] = f.common_items;
  d["new_cov"] = f.new_cov;
  d["old_cov"] = f.old_cov;
  d["cut_scores"] = f.cut_scores;
  return d;
}

// A pair's item named by label has no number: None.
py::tuple read_common_items_glue(const std::string& path, bool strict) {
  Warnings w;
  const irteq::CommonItemsFile f = irteq::read_common_items(std::filesystem::path(path), collecting(w, strict));
  py::list x_item, y_item, x_label, y_label;
  for (const irteq::CommonItemPair& p : f.pairs) {
    x_item.append(p.x_label.empty() ? py::object(py::int_(p.x_number)) : py::object(py::none()));
    y_item.append(p.y_label.empty() ? py::object(py::int_(p.y_number)) : py::object(py::none()));
    x_label.append(p.x_label);
    y_label.append(p.y_label);
  }
  py::dict pairs;
  pairs["x_item"] = x_item;
  pairs["y_item"] = y_item;
  pairs["x_label"] = x_label;
  pairs["y_label"] = y_label;
  py::dict d;
  d["method"] = std::string(irteq::linking_method_name(f.method));
  d["symmetric"] = f.symmetric;
  d["screen"] = std::string(irteq::screening_statistic_name(f.screen));
  d["cut"] = f.screen != irteq::ScreeningStatistic::none ? py::object(py::float_(f.cut)) : py::object(py::none());
  d["pairs"] = pairs;
  return py::make_tuple(d, w);
}

py::tuple read_covariance_glue(const std::string& path, const py::dict& items, bool strict) {
  Warnings w;
  const auto form = items_from(items, "items", irteq::InputPart::none);
  py::dict c = covariance_to(irteq::read_covariance(std::filesystem::path(path), form, collecting(w, strict)));
  return py::make_tuple(c, w);
}

py::dict read_calibration_glue(const std::string& file, const std::string& program, const py::object& D,
                               const std::string& covariance, const std::string& thresholds) {
  const auto known = irteq::calibration_program(program);
  if (!known) {
    throw irteq::Error("unknown calibration program '" + program + "'", {.code = irteq::ErrorCode::invalid_input});
  }
  irteq::CalibrationOptions options{.covariance = covariance, .thresholds = thresholds};
  if (!D.is_none()) options.D = py::cast<double>(D);
  const irteq::CalibrationFile read = irteq::read_calibration(file, *known, options);
  py::dict d;
  d["items"] = items_to(read.items);
  d["covariance"] = read.covariance ? py::object(covariance_to(*read.covariance)) : py::object(py::none());
  return d;
}

// The writers' text: the library's numbers and checks; Python writes the file.
std::string items_text(const py::dict& items, const std::string& title) {
  std::ostringstream out;
  irteq::write_items(items_from(items, "items", irteq::InputPart::none), out, title);
  return out.str();
}

std::string grid_text(const py::dict& grid, const std::string& title) {
  std::ostringstream out;
  irteq::write_grid(grid_from(grid), out, title);
  return out.str();
}

std::string covariance_text(const py::dict& covariance, const py::dict& items, const std::string& title) {
  const auto form = items_from(items, "items", irteq::InputPart::none);
  const irteq::Covariance c = *covariance_from(covariance);
  irteq::validate_covariance(c, form, "covariance");
  std::ostringstream out;
  irteq::write_covariance(c, form, out, title);
  return out.str();
}

// The raw-to-scale file, whose numbers read back to the same doubles.
std::string scale_table_text(const py::dict& scale, double w2, const std::string& title) {
  const irteq::ScaleTable t = scale_from(scale);
  irteq::validate_scale_table(t, w2, "scale");
  std::string text = title + "\n" + std::to_string(t.scale_min) + " " + std::to_string(t.scale_max) + " " +
                     number_text(w2) + "\n";
  for (std::size_t i = 0; i < t.scale.size(); ++i) {
    text += (t.raw.empty() ? std::to_string(i) : number_text(t.raw[i])) + " " + number_text(t.scale[i]) + " " +
            number_text(t.rounded[i]) + "\n";
  }
  return text;
}

// ---- validation and names ----

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

// ---- the models ----

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

py::list number_text_glue(const py::object& x) {
  py::list out;
  for (const double v : doubles_from(x)) out.append(number_text(v));
  return out;
}

}  // namespace
}  // namespace irteq_python

PYBIND11_MODULE(_core, m) {
  using namespace irteq_python;
  m.doc() = "irteq's library, for the Python package irteq";
  register_error_translator();
  m.attr("version") = irteq::version;
  m.attr("max_quadrature_points") = irteq::max_quadrature_points;

  py::class_<Run, std::shared_ptr<Run>>(m, "Run")
      .def("value", &Run::value)
      .def("to_csv", &Run::to_csv);

  m.def("equate", &equate_glue);
  m.def("equate_files", &equate_files_glue);
  m.def("link", &link_glue);
  m.def("read_items", &read_items_glue);
  m.def("read_grid", &read_grid_glue);
  m.def("read_scale_table", &read_scale_table_glue);
  m.def("read_control", &read_control_glue);
  m.def("read_common_items", &read_common_items_glue);
  m.def("read_covariance", &read_covariance_glue);
  m.def("read_calibration", &read_calibration_glue);
  m.def("items_text", &items_text);
  m.def("grid_text", &grid_text);
  m.def("covariance_text", &covariance_text);
  m.def("scale_table_text", &scale_table_text);
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
  m.def("number_text", &number_text_glue);
}
