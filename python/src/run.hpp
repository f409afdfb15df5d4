// A run's whole result, kept for its tables and its CSV files.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "glue.hpp"

namespace irteq_python {

struct Run {
  irteq::RunResult result;
  irteq::EquatingInput input;  // the forms as given, for the linking's common items
  py::dict value() const;
  void to_csv(const std::string& folder) const;
};

// request: threads, root_tolerance, se, draws, seed, tables.
std::shared_ptr<Run> run(irteq::RunInput input, irteq::ParameterCovariances covariances, const py::dict& request,
                         const std::string& front_end,
                         const std::vector<std::pair<std::string, std::string>>& front_end_options);

}  // namespace irteq_python
