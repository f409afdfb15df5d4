#pragma once

#include <cstddef>
#include <vector>

namespace irteq {

// A symmetric matrix A as Q T Q', T tridiagonal and Q orthogonal.
struct Tridiagonal {
  std::vector<double> diagonal;     // T(i, i), size entries
  std::vector<double> subdiagonal;  // T(i + 1, i) at i, size entries, the last 0
  std::vector<double> basis;        // Q, row-major, size x size
};

// Householder reflections zero column k of A below its subdiagonal, k = 0,
// 1, ..., size - 3, and their product is accumulated into Q from the last.
// matrix is row-major, size x size, symmetric; only its upper triangle is read.
Tridiagonal householder_tridiagonal(std::vector<double> matrix, std::size_t size);

}  // namespace irteq
