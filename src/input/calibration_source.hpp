#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "irteq/calibration.hpp"
#include "irteq/convert.hpp"
#include "irteq/covariance.hpp"

namespace irteq {

// A calibration file's items in the converters' source forms, with how each
// source item's values follow from the values the program printed (their
// order in the program's own covariance file): d(source value r) /
// d(printed value c) at r * printed + c.
struct CalibrationSource {
  std::vector<SourceItem> items;
  std::vector<std::string> labels;
  std::vector<std::size_t> printed;     // per item, the number of printed values
  std::vector<std::vector<double>> jacobians;
  std::vector<CalibrationGroup> groups;  // the file's group lines, when it has them
  // The metric of the L3 items' c in the printed covariance: logit(c) for
  // programs that estimate it so, and the Jacobian's c row keeps it.
  GuessingMetric guessing = GuessingMetric::probability;
};

// flexMIRT's and IRTPRO's -prm.txt; program names the program in messages.
CalibrationSource read_flexmirt_parameters(const std::string& file_name, const char* program);
// Winsteps' IFILE= with, when sfile is not empty, its SFILE=; the measures
// in logits times 1/D (D = 1/USCALE for user-scaled measures). It prints no
// covariance: every item has 0 printed values.
CalibrationSource read_winsteps_measures(const std::string& file_name, const std::string& sfile, double D);

}  // namespace irteq
