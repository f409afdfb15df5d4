// irteq._core: the entry points the Python package calls (irteq/*.py), each
// a translation of plain Python data to the library's public API and back.
#include "glue.hpp"

PYBIND11_MODULE(_core, m) {
  using namespace irteq_python;
  m.doc() = "irteq's library, for the Python package irteq";
  register_error_translator();
  m.attr("version") = irteq::version;
  bind_runs(m);
  bind_files(m);
  bind_models(m);
}
