// The runs' entry points: equate() from Python objects, equate_files() from a
// control file, link(); the GIL released while the library computes.
#include <filesystem>

#include <pybind11/stl.h>

#include "glue.hpp"
#include "run.hpp"

namespace irteq_python {
namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

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

}  // namespace

void bind_runs(py::module_& m) {
  py::class_<Run, std::shared_ptr<Run>>(m, "Run")
      .def("value", &Run::value)
      .def("to_csv", &Run::to_csv);
  m.def("equate", &equate_glue);
  m.def("equate_files", &equate_files_glue);
  m.def("link", &link_glue);
}

}  // namespace irteq_python
