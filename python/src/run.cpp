// The runs: equate() from Python objects, equate_files() from a control
// file, link(); each through the library's run() (or link()), with the GIL
// released while it computes. The result stays whole in a Run, so that
// to_csv writes batch mode's very files by the library's own writer.
#include <filesystem>
#include <sstream>

#include <pybind11/stl.h>

#include "glue.hpp"
#include "run.hpp"

namespace irteq_python {

namespace {

// The draws ask, as they complete, whether Python has a signal pending
// (Ctrl-C): its handler's exception is kept and the run told to stop.
class Interruption {
 public:
  bool step() {
    py::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() != 0) {
      pending_ = std::make_unique<py::error_already_set>();
      return false;
    }
    return true;
  }
  // The kept exception: KeyboardInterrupt becomes irteq.Interrupted (a
  // KeyboardInterrupt too) with the library's message; others as raised.
  [[noreturn]] void raise(const irteq::Error& e) {
    if (pending_->matches(PyExc_KeyboardInterrupt)) {
      pending_.reset();
      throw e;
    }
    throw std::move(*pending_);
  }
  bool pending() const { return pending_ != nullptr; }

 private:
  std::unique_ptr<py::error_already_set> pending_;
};

}  // namespace

std::shared_ptr<Run> run(irteq::RunInput input, irteq::ParameterCovariances covariances, const py::dict& request,
                         const std::string& front_end,
                         const std::vector<std::pair<std::string, std::string>>& front_end_options) {
  Interruption interruption;
  irteq::RunOptions options;
  const int threads = py::cast<int>(request["threads"]);
  options.equating.threads = threads;
  options.equating.root_tolerance = py::cast<double>(request["root_tolerance"]);
  options.standard_errors.delta_method = py::cast<bool>(request["se"]);
  options.standard_errors.draws = py::cast<int>(request["draws"]);
  options.standard_errors.seed = py::cast<std::uint64_t>(request["seed"]);
  options.standard_errors.threads = threads;
  options.standard_errors.progress = [&interruption](int, int) { return interruption.step(); };
  options.covariances = std::move(covariances);
  options.tables = py::cast<bool>(request["tables"]);
  auto out = std::make_shared<Run>();
  try {
    py::gil_scoped_release released;
    out->result = irteq::run(input, options);
  } catch (const irteq::Error& e) {
    if (interruption.pending()) interruption.raise(e);
    throw;
  }
  out->result.record.front_end = front_end;
  out->result.record.options.insert(out->result.record.options.begin(), front_end_options.begin(),
                                    front_end_options.end());
  out->input = std::move(input.equating);
  return out;
}

py::dict Run::value() const {
  py::dict v = equating_to(result.equating);
  if (result.linking) v["linking"] = linking_to(*result.linking, input);
  if (result.standard_errors) {
    v["standard_errors"] = standard_errors_to(*result.standard_errors, result.linking);
    v["redraws_warning"] = irteq::redraws_warning(*result.standard_errors);
  }
  if (result.tables) v["tables"] = tables_to(result.equating, *result.tables);
  std::ostringstream record;
  irteq::write_run_record(result.record, record);
  v["record"] = record.str();
  v["w2"] = input.w2;
  return v;
}

void Run::to_csv(const std::string& folder) const {
  py::gil_scoped_release released;
  irteq::write_csv(result, std::filesystem::path(folder));
}

}  // namespace irteq_python
