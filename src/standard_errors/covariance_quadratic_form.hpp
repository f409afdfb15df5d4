#pragma once

#include <vector>

#include "irteq/covariance.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// Both forms' covariances as the blocks of items that vary together, each
// dense over its own columns of the layout: calibration programs mostly give
// each item's block alone, so a form of 200 items is 200 small blocks rather
// than one matrix of millions of entries; a dense covariance is one block.
struct BlockCovariance {
  struct Block {
    std::vector<std::size_t> columns;  // of the layout, ascending
    std::vector<double> values;        // row-major, columns.size() squared
  };
  std::vector<Block> blocks;
};

BlockCovariance block_covariance(const ParameterCovariances& covariances, const ParameterLayout& layout);

// g' V g for each row g of gradients, block by block in their order, each
// block's sum in a fixed order of its rows and columns: the same on any
// thread count.
std::vector<double> gradient_variances(const Gradients& gradients, const BlockCovariance& covariance, int threads);

}  // namespace irteq
