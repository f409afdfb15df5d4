#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "irteq/input.hpp"
#include "irteq/run_record.hpp"

namespace irteq {

// The scale on which a covariance gives each "L3" item's lower asymptote c.
// Calibration programs (flexMIRT, IRTPRO, mirt) estimate logit(c) =
// log(c / (1 - c)) and print its covariance; converting it to c beforehand
// would throw away what parametric draws need to keep c inside (0, 1).
enum class GuessingMetric {
  probability,  // the rows and columns of c are the covariance of c
  logit,        // they are the covariance of logit(c); every other row is as in probability
};

// A covariance matrix, row-major, size by size.
struct Covariance {
  std::size_t size = 0;
  std::vector<double> values;
  GuessingMetric guessing = GuessingMetric::probability;
};

// The number of a form's estimated parameters, the size of its covariance:
// every item's parameters after D (all of an "SN" item's), items in order,
// each item's in the order of an item parameter file ("L3" a, b, c; "SN" and
// "SL" a, b(1..m-1); "BN" a(1..m), c(1..m); "MU" a, b, d(1..m)).
// parameter_names() names them.
std::size_t covariance_size(const std::vector<Item>& items);

// The covariance of the same estimates with c itself on the c rows: a
// logit-metric covariance's c rows and columns times dc/dlogit(c) = c(1 - c)
// (J V J', the delta method), each entry (v * j_row) * j_column. Returns
// the covariance as it is when it is in the probability metric already.
// covariance must fit items (covariance_size).
Covariance probability_metric(const Covariance& covariance, const std::vector<Item>& items);

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
