#pragma once

#include <cstddef>
#include <vector>

namespace irteq {

// The eigenvalues and eigenvectors of a symmetric matrix: column j of
// vectors (row-major, size x size) belongs to values[j]. Unsorted.
struct SymmetricEigen {
  std::size_t size = 0;
  std::vector<double> values;
  std::vector<double> vectors;
};

// Householder tridiagonalisation and the shifted QR algorithm, O(size^3):
// for the dense covariance of a whole form, where Jacobi rotations take
// minutes. A zero row and column is set aside before the reduction: its
// eigenvector is exactly the unit vector and its value exactly 0. The
// matrix is scaled by a power of two first (exactly), so that no square
// overflows or underflows; a NaN or infinite entry gives NaN values (the
// zero rows' aside). A fixed order of operations: the same bits on every
// machine. matrix is row-major, size x size, symmetric.
SymmetricEigen symmetric_eigen(std::vector<double> matrix, std::size_t size);

}  // namespace irteq
