#pragma once

#include <cstddef>
#include <vector>

namespace irteq {

// Rotations of neighbouring columns in the order they were taken: each
// chase rotates columns (k, k + 1) for k = first, first + 1, ..., first +
// count - 1, the path of one QR step's bulge.
struct RotationChase {
  std::size_t first = 0;
  std::size_t count = 0;
};
struct PlaneRotations {
  std::vector<RotationChase> chases;
  std::vector<double> cosines_sines;  // c then s of each rotation in turn
};

// Columns x = k and y = k + 1 of a row-major matrix (rows x size) become
// c x + s y and c y - s x, every rotation in turn. Each row is independent
// of the others, so rows are rotated a block at a time while the block stays
// in cache; every entry meets the same operations in the same order as when
// the rotations are applied one by one to the whole matrix.
void apply_plane_rotations(const PlaneRotations& rotations, std::vector<double>& matrix, std::size_t rows,
                           std::size_t size);

}  // namespace irteq
