#pragma once

#include <cstddef>
#include <vector>

#include "standard_errors/symmetric_eigen.hpp"

namespace irteq {

// Cyclic Jacobi rotations over the upper triangle, row by row, until the
// off-diagonal sum of squares is at rounding level: a fixed order of
// operations, so the same bits on every machine. A zero row and column is
// never rotated: its eigenvector stays the unit vector and its value 0.
// matrix is row-major, size x size, symmetric.
SymmetricEigen jacobi_eigen(std::vector<double> matrix, std::size_t size);

}  // namespace irteq
