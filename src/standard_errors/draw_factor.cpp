// A factor of a form's covariance for parametric draws, block by block:
// calibration programs mostly give each item's covariance alone, and
// factoring blocks of a few parameters costs nothing beside factoring the
// whole matrix. The symmetric eigen-decomposition, not Cholesky, since
// covariances of parameters held fixed or tied are only semi-definite.
#include "standard_errors/draw_factor.hpp"

#include <algorithm>
#include <cmath>

#include "common/shown_number.hpp"
#include "irteq/error.hpp"
#include "models/parameter_derivatives.hpp"
#include "standard_errors/covariance_blocks.hpp"
#include "standard_errors/jacobi_eigen.hpp"
#include "standard_errors/symmetric_eigen.hpp"

namespace irteq {

namespace {

constexpr double semi_definite_tolerance = 1e-10;  // of the block's largest variance
constexpr std::size_t items_named = 10;            // in the message of a large block
// Jacobi up to here, for its accuracy in small eigenvalues; beyond, its
// sweeps cost minutes where Householder and QR take seconds.
constexpr std::size_t jacobi_rows = 32;

std::string block_items(const std::vector<Item>& items, const std::vector<std::size_t>& block) {
  if (block.size() == 1) {
    const Item& item = items[block[0]];
    return "item " + std::to_string(block[0] + 1) + " (number " + std::to_string(item.number) + ", " +
           std::string(item_code(item.model)) + ")";
  }
  std::string text = "items ";
  for (std::size_t k = 0; k < block.size() && k < items_named; ++k) {
    if (k > 0) text += k + 1 == block.size() ? " and " : ", ";
    text += std::to_string(block[k] + 1) + " (number " + std::to_string(items[block[k]].number) + ")";
  }
  if (block.size() > items_named) text += " and " + std::to_string(block.size() - items_named) + " more";
  return text + ", which vary together,";
}

}  // namespace

DrawFactor draw_factor(const Covariance& covariance, const std::vector<Item>& items, const std::string& name) {
  std::vector<std::size_t> offsets{0};
  for (const Item& item : items) offsets.push_back(offsets.back() + estimated_parameter_count(item));
  if (covariance.size != offsets.back() || covariance.values.size() != covariance.size * covariance.size) {
    throw Error(name + ": a covariance of " + std::to_string(covariance.size) + " parameters, but the form's " +
                    std::to_string(items.size()) + " items have " + std::to_string(offsets.back()) +
                    " parameters without D",
                {.code = ErrorCode::invalid_input, .source = name});
  }
  const std::size_t size = covariance.size;
  DrawFactor factor{size, {}};
  for (const std::vector<std::size_t>& block : covariance_blocks(covariance, offsets)) {
    FactorBlock out;
    for (const std::size_t item : block) {
      const std::size_t first = items[item].parameters.size() - (offsets[item + 1] - offsets[item]);
      for (std::size_t row = offsets[item]; row < offsets[item + 1]; ++row) {
        out.rows.push_back(row);
        out.items.push_back(item);
        out.parameters.push_back(first + (row - offsets[item]));
        out.logit.push_back(covariance.guessing == GuessingMetric::logit && items[item].model == ItemModel::l3 &&
                            row + 1 == offsets[item + 1]);
      }
    }
    const std::size_t n = out.rows.size();
    std::vector<double> matrix(n * n);
    double largest_variance = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        const double below = covariance.values[out.rows[i] * size + out.rows[j]];
        const double above = covariance.values[out.rows[j] * size + out.rows[i]];
        matrix[i * n + j] = 0.5 * (below + above);
      }
      largest_variance = std::max(largest_variance, matrix[i * n + i]);
    }
    const SymmetricEigen eigen = n <= jacobi_rows ? jacobi_eigen(matrix, n) : symmetric_eigen(matrix, n);
    const double smallest = *std::min_element(eigen.values.begin(), eigen.values.end());
    if (!(smallest >= -semi_definite_tolerance * largest_variance)) {
      throw Error(name + ": the covariance of " + block_items(items, block) +
                      " is not positive semi-definite: an eigenvalue of " + shown_number(smallest) +
                      " beside a largest variance of " + shown_number(largest_variance) +
                      "; parametric draws need a covariance matrix",
                  {.code = ErrorCode::invalid_input, .source = name, .item = static_cast<int>(block[0] + 1)});
    }
    out.factor.assign(n * n, 0.0);
    for (std::size_t j = 0; j < n; ++j) {
      const double root = std::sqrt(std::max(eigen.values[j], 0.0));
      for (std::size_t i = 0; i < n; ++i) out.factor[i * n + j] = eigen.vectors[i * n + j] * root;
    }
    // A parameter with no variance is held fixed, whatever rounding left in its row.
    for (std::size_t i = 0; i < n; ++i) {
      if (matrix[i * n + i] == 0.0) std::fill_n(out.factor.begin() + static_cast<std::ptrdiff_t>(i * n), n, 0.0);
    }
    factor.blocks.push_back(std::move(out));
  }
  return factor;
}

}  // namespace irteq
