#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "irteq/convert.hpp"
#include "irteq/input.hpp"

namespace irteq {

// One block of a form's covariance and its factor L, L L' the block.
struct FactorBlock {
  std::vector<std::size_t> rows;        // the block's rows of the covariance, ascending
  std::vector<std::size_t> items;       // each row's item
  std::vector<std::size_t> parameters;  // each row's place in its item's parameters (D counted)
  std::vector<double> factor;           // row-major, rows.size() x rows.size()
  // Each row's parameter is drawn as logit(c): an "L3" c of a covariance in the logit metric.
  std::vector<bool> logit;
};

// What turns standard normals into draws of a form's parameters: the
// covariance's independent blocks, each with its factor. Rows outside every
// block (items held fixed) are never moved.
struct DrawFactor {
  std::size_t size = 0;  // the covariance's size: one normal per row
  std::vector<FactorBlock> blocks;
};

// Each block of items that vary together (covariance_blocks) factored on
// its own by its eigen-decomposition, L = V sqrt(lambda), so that a zero row
// and column gives a zero row of L. Negative eigenvalues at rounding level
// count as 0; one below -1e-10 times the block's largest variance is an
// Error (invalid_input) naming the covariance by name and the block's items,
// as is a covariance whose size does not fit the items. A covariance in the
// logit metric marks its "L3" c rows (their c lie inside (0, 1):
// validate_covariance).
DrawFactor draw_factor(const Covariance& covariance, const std::vector<Item>& items, const std::string& name);

}  // namespace irteq
