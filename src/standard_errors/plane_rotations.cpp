// A QR iteration's rotations applied to its eigenvector matrix after the
// fact, a block of rows at a time: one by one, each rotation would stream
// two whole columns of a large matrix through memory, where here a block's
// columns, transposed to contiguous rows, are rotated in cache.
#include "standard_errors/plane_rotations.hpp"

#include <algorithm>

namespace irteq {

namespace {

// A block of rows x size doubles stays in the second-level cache up to a few
// thousand columns; whole vectors of the block's entries make the inner loop.
constexpr std::size_t block_rows = 32;

}  // namespace

void apply_plane_rotations(const PlaneRotations& rotations, std::vector<double>& matrix, std::size_t rows,
                           std::size_t size) {
  const std::size_t n = size;
  if (rows == 0 || rotations.chases.empty()) return;
  // block[k * block_rows + r] = matrix(first + r, k); rows past the end stay 0.
  std::vector<double> block(n * block_rows);
  for (std::size_t first = 0; first < rows; first += block_rows) {
    const std::size_t count = std::min(block_rows, rows - first);
    std::fill(block.begin(), block.end(), 0.0);
    for (std::size_t r = 0; r < count; ++r) {
      const double* row = matrix.data() + (first + r) * n;
      for (std::size_t k = 0; k < n; ++k) block[k * block_rows + r] = row[k];
    }
    const double* cs = rotations.cosines_sines.data();
    for (const RotationChase& chase : rotations.chases) {
      double* x = block.data() + chase.first * block_rows;
      for (std::size_t step = 0; step < chase.count; ++step, cs += 2, x += block_rows) {
        const double c = cs[0];
        const double s = cs[1];
        double* y = x + block_rows;
        for (std::size_t r = 0; r < block_rows; ++r) {
          const double u = x[r];
          const double w = y[r];
          x[r] = c * u + s * w;
          y[r] = c * w - s * u;
        }
      }
    }
    for (std::size_t r = 0; r < count; ++r) {
      double* row = matrix.data() + (first + r) * n;
      for (std::size_t k = 0; k < n; ++k) row[k] = block[k * block_rows + r];
    }
  }
}

}  // namespace irteq
