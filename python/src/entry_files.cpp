// The files' entry points: the library's readers (their warnings returned as
// a list, or errors under strict) and the text of its writers.
#include <filesystem>
#include <sstream>

#include <pybind11/stl.h>

#include "glue.hpp"

namespace irteq_python {
namespace {

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
  py::list number, label, mean, variance;
  for (const irteq::CalibrationGroup& group : read.groups) {
    number.append(group.number), label.append(group.label), mean.append(group.mean), variance.append(group.variance);
  }
  d["groups"] = py::dict(py::arg("group") = number, py::arg("label") = label, py::arg("mean") = mean,
                         py::arg("variance") = variance);
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

}  // namespace

void bind_files(py::module_& m) {
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
}

}  // namespace irteq_python
