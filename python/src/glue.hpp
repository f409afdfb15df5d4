// The Python glue's shared pieces: plain Python data (dicts of lists and
// numpy arrays, as irteq's Python layer passes them, shapes and types
// already checked there) into the library's structs and back. Checks of
// values are the library's own.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

#include <irteq/irteq.hpp>

namespace irteq_python {

namespace py = pybind11;

using Warnings = std::vector<std::string>;

// ---- Python into the library (inputs.cpp) ----
std::vector<double> doubles_from(py::handle x);
std::vector<irteq::Item> items_from(const py::dict& x, const std::string& name, irteq::InputPart part);
irteq::QuadratureGrid grid_from(const py::dict& x);
irteq::ScaleTable scale_from(const py::dict& x);
// None, or a dict of "values" (a square 2-D array) and "guessing" ("probability" or "logit").
std::optional<irteq::Covariance> covariance_from(const py::object& x);
irteq::ParameterCovariances covariances_from(const py::object& x_cov, const py::object& y_cov);
// A dict of x_item, y_item, x_label, y_label, method, symmetric, screen, cut.
irteq::LinkingInput linking_from(const py::dict& x);
std::optional<irteq::CutScores> cut_scores_from(const py::object& cuts, const py::object& levels);
irteq::EquatingInput forms_from(const py::dict& x_items, const py::dict& y_items, const py::dict& x_grid,
                                const py::dict& y_grid);
// The readers' warnings into warnings; strict makes them errors (input_warning).
irteq::ReadOptions collecting(Warnings& warnings, bool strict);

// ---- the library's results into Python (results.cpp) ----
py::array_t<double> array(const std::vector<double>& v);
py::dict items_to(const std::vector<irteq::Item>& items);
py::dict grid_to(const irteq::QuadratureGrid& grid);
py::dict covariance_to(const irteq::Covariance& c);
py::dict eap_to(const irteq::EapTable& t);
py::dict equating_to(const irteq::EquatingResult& r);
py::dict linking_to(const irteq::LinkingResult& r, const irteq::EquatingInput& forms);
py::dict standard_errors_to(const irteq::StandardErrors& e, const std::optional<irteq::LinkingResult>& linking);
py::dict tables_to(const irteq::EquatingResult& r, const irteq::ReportTables& t);
// The shortest text that reads back to the same double, as the CSV files write it.
std::string number_text(double x);

// ---- errors (errors.cpp) ----
// Makes the library's Error a Python irteq.Error of its code's class.
void register_error_translator();

// ---- the entry points, by kind (entry_*.cpp) ----
void bind_runs(py::module_& m);
void bind_files(py::module_& m);
void bind_models(py::module_& m);

}  // namespace irteq_python
