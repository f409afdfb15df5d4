#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "irteq/input.hpp"
#include "irteq/run_record.hpp"

namespace irteq {

// A covariance matrix, row-major, size by size.
struct Covariance {
  std::size_t size = 0;
  std::vector<double> values;
};

// The number of a form's estimated parameters, the size of its covariance:
// every item's parameters after D (all of an "SN" item's), items in order,
// each item's in the order of an item parameter file ("L3" a, b, c; "SN" and
// "SL" a, b(1..m-1); "BN" a(1..m), c(1..m); "MU" a, b, d(1..m)).
// parameter_names() names them.
std::size_t covariance_size(const std::vector<Item>& items);

// The covariances of the two forms' estimates, each over covariance_size()
// parameters in that order (form X's on its own scale, before linking). A
// form without one is taken as known; the two forms' estimates are
// independent of each other.
struct ParameterCovariances {
  std::optional<Covariance> x;
  std::optional<Covariance> y;
  std::string x_name = "form X covariance";  // what messages call them: the file names when read from files
  std::string y_name = "form Y covariance";
  std::vector<InputFileRecord> files{};  // what read_covariances read them from: none when built in memory
};

}  // namespace irteq
