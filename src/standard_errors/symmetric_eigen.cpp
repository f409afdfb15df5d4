// The symmetric eigen-decomposition of a large block: zero rows and
// columns set aside exactly, a power-of-two scaling, Householder
// tridiagonalisation, then the shifted QR algorithm on the tridiagonal form.
// Chosen over Jacobi rotations above a few dozen rows for its O(size^3)
// with a small constant: seconds, not minutes, for a form of a thousand
// parameters.
#include "standard_errors/symmetric_eigen.hpp"

#include <cmath>
#include <limits>

#include "standard_errors/householder_tridiagonal.hpp"
#include "standard_errors/tridiagonal_qr.hpp"

namespace irteq {

SymmetricEigen symmetric_eigen(std::vector<double> matrix, std::size_t size) {
  const std::size_t n = size;
  std::vector<std::size_t> kept;  // rows with a nonzero in the row or the column
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      if (matrix[i * n + j] != 0.0 || matrix[j * n + i] != 0.0) {
        kept.push_back(i);
        break;
      }
    }
  }
  const std::size_t m = kept.size();
  std::vector<double> compact(m * m);
  double largest = 0.0;
  bool finite = true;
  for (std::size_t i = 0; i < m; ++i) {
    for (std::size_t j = 0; j < m; ++j) {
      const double value = matrix[kept[i] * n + kept[j]];
      compact[i * m + j] = value;
      finite = finite && std::isfinite(value);
      largest = std::fmax(largest, std::fabs(value));
    }
  }
  SymmetricEigen eigen{n, std::vector<double>(n, 0.0), std::vector<double>(n * n, 0.0)};
  for (std::size_t i = 0; i < n; ++i) eigen.vectors[i * n + i] = 1.0;
  if (!finite) {  // no decomposition: the QR steps would run to their limit
    for (const std::size_t i : kept) eigen.values[i] = std::numeric_limits<double>::quiet_NaN();
    return eigen;
  }
  // The largest entry scaled into [0.5, 1); multiplying by a power of two is exact.
  int exponent = 0;
  if (largest > 0.0) std::frexp(largest, &exponent);
  for (double& value : compact) value = std::ldexp(value, -exponent);

  Tridiagonal tridiagonal = householder_tridiagonal(std::move(compact), m);
  tridiagonal_qr(tridiagonal, m);

  for (std::size_t j = 0; j < m; ++j) eigen.values[kept[j]] = std::ldexp(tridiagonal.diagonal[j], exponent);
  for (std::size_t i = 0; i < m; ++i) {
    for (std::size_t j = 0; j < m; ++j) eigen.vectors[kept[i] * n + kept[j]] = tridiagonal.basis[i * m + j];
  }
  return eigen;
}

}  // namespace irteq
