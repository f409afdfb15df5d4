// The delta method's variances g' V g, block by block of the covariance.
// For a block B, t = V_B g_B is summed over B's rows in order for every
// column at once (a vectorisable update), then g_B' t over its columns.
// Gradient rows go through in tiles, so that a large dense block is read
// from memory once per tile rather than once per row. Neither changes the
// order of any sum.
#include "standard_errors/covariance_quadratic_form.hpp"

#include <algorithm>
#include <array>
#include <atomic>

#include "common/run_on_threads.hpp"
#include "standard_errors/covariance_blocks.hpp"

namespace irteq {

namespace {

constexpr std::size_t tile_rows = 8;
constexpr std::size_t chunk_columns = 256;

void add_blocks(const std::optional<Covariance>& covariance, const std::vector<std::size_t>& item_offsets,
                std::size_t first_column, BlockCovariance& out) {
  if (!covariance) return;
  std::vector<std::size_t> offsets;  // each item's first row of this covariance, then its size
  for (const std::size_t offset : item_offsets) offsets.push_back(offset - first_column);
  offsets.push_back(covariance->size);
  const std::size_t n = covariance->size;
  for (const std::vector<std::size_t>& items : covariance_blocks(*covariance, offsets)) {
    BlockCovariance::Block block;
    std::vector<std::size_t> rows;
    for (const std::size_t item : items) {
      for (std::size_t row = offsets[item]; row < offsets[item + 1]; ++row) rows.push_back(row);
    }
    block.values.reserve(rows.size() * rows.size());
    for (const std::size_t i : rows) {
      for (const std::size_t j : rows) block.values.push_back(covariance->values[i * n + j]);
    }
    for (const std::size_t row : rows) block.columns.push_back(first_column + row);
    out.blocks.push_back(std::move(block));
  }
}

}  // namespace

BlockCovariance block_covariance(const ParameterCovariances& covariances, const ParameterLayout& layout) {
  BlockCovariance out;
  add_blocks(covariances.x, layout.x_offsets, 0, out);
  add_blocks(covariances.y, layout.y_offsets, layout.x_size, out);
  return out;
}

std::vector<double> gradient_variances(const Gradients& gradients, const BlockCovariance& covariance, int threads) {
  std::vector<double> variances(gradients.rows, 0.0);
  std::size_t widest = 0;
  for (const BlockCovariance::Block& block : covariance.blocks) widest = std::max(widest, block.columns.size());
  const std::size_t tiles = (gradients.rows + tile_rows - 1) / tile_rows;
  std::atomic<std::size_t> next{0};
  run_on_threads(threads, [&](int) {
    std::vector<double> g(tile_rows * widest);
    std::vector<double> t(tile_rows * widest);
    for (std::size_t tile = next++; tile < tiles; tile = next++) {
      const std::size_t first = tile * tile_rows;
      const std::size_t rows = std::min(tile_rows, gradients.rows - first);
      for (const BlockCovariance::Block& block : covariance.blocks) {
        const std::size_t n = block.columns.size();
        for (std::size_t r = 0; r < rows; ++r) {
          const double* row = gradients.values.data() + (first + r) * gradients.columns;
          for (std::size_t j = 0; j < n; ++j) g[r * n + j] = row[block.columns[j]];
          std::fill_n(t.begin() + static_cast<std::ptrdiff_t>(r * n), n, 0.0);
        }
        // Columns in chunks, so that the tile's running sums stay in the
        // first-level cache while the block's rows stream past.
        for (std::size_t low = 0; low < n; low += chunk_columns) {
          const std::size_t high = std::min(n, low + chunk_columns);
          for (std::size_t i = 0; i < n; ++i) {
            const double* v = block.values.data() + i * n;
            for (std::size_t r = 0; r < rows; ++r) {
              const double gi = g[r * n + i];
              double* tr = t.data() + r * n;
              for (std::size_t j = low; j < high; ++j) tr[j] += gi * v[j];
            }
          }
        }
        for (std::size_t r = 0; r < rows; ++r) {
          double sum = 0.0;
          for (std::size_t j = 0; j < n; ++j) sum += g[r * n + j] * t[r * n + j];
          variances[first + r] += sum;
        }
      }
    }
  });
  return variances;
}

}  // namespace irteq
