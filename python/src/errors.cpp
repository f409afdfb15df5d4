// The library's Error as irteq.Error's subclass of its code, carrying the
// diagnostic; the classes are irteq/_errors.py's, built there by _from_core.
#include "glue.hpp"

namespace irteq_python {

namespace {

void raise(const irteq::Error& e) {
  const irteq::Diagnostic& d = e.diagnostic();
  const std::string_view input = d.input == irteq::InputPart::none ? "" : irteq::input_part_name(d.input);
  const py::object error = py::module_::import("irteq._errors")
                               .attr("_from_core")(std::string(irteq::error_code_name(d.code)), e.what(),
                                                   std::string(input), d.source, d.line, d.item, d.row,
                                                   d.score_point);
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
}

}  // namespace

void register_error_translator() {
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const irteq::Error& e) {
      raise(e);
    }
  });
}

}  // namespace irteq_python
