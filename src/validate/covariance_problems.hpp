#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/input.hpp"

namespace irteq {

// What each row and column of a form's covariance stands for, for messages:
// "(item 3, number 12, b)", in covariance_size() order.
std::vector<std::string> covariance_labels(const std::vector<Item>& items);

// The first fault of a covariance's values, row by row as a file is read:
// a variance that is not a finite number of 0 or more, then each entry left
// of the diagonal that is not finite or differs from its mirror by more than
// 1e-9 of the larger of the two and the geometric mean of their variances.
// The message names the row (and column) by labels; none when all pass.
struct CovarianceFault {
  std::size_t row = 0;
  std::string message;
};
std::optional<CovarianceFault> covariance_fault(const Covariance& covariance, const std::vector<std::string>& labels);

// "the covariance is 6 x 6, but its form's 2 items have 8 parameters without D"; empty when it fits.
std::string covariance_size_problem(const Covariance& covariance, const std::vector<Item>& items);

}  // namespace irteq
