#pragma once

#include <vector>

#include "irteq/standard_errors.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// Both forms' covariances as one block-diagonal matrix over the layout's
// columns, kept as its nonzero entries only: calibration programs mostly
// give each item's block alone, so a form of 200 items has a few thousand
// entries rather than millions.
struct SparseCovariance {
  struct Entry {
    std::size_t row = 0;
    std::size_t column = 0;
    double value = 0.0;
  };
  std::vector<Entry> entries;  // row-major
};

SparseCovariance sparse_covariance(const ParameterCovariances& covariances, const ParameterLayout& layout);

// g' V g for each row g of gradients, summed entry by entry in row-major
// order (the same on any thread count).
std::vector<double> gradient_variances(const Gradients& gradients, const SparseCovariance& covariance, int threads);

}  // namespace irteq
