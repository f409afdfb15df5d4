// The cyclic Jacobi eigenvalue method (Golub and Van Loan, Matrix
// Computations, 8.5): each rotation zeroes one off-diagonal pair, sweeps
// over the upper triangle repeat until what is left off the diagonal is
// below rounding. Chosen over faster methods for covariance blocks of a few
// parameters because it is short, exactly reproducible and accurate for
// small eigenvalues, which decide whether a block is positive semi-definite.
#include "standard_errors/jacobi_eigen.hpp"

#include <cmath>
#include <limits>

namespace irteq {

namespace {

constexpr int max_sweeps = 100;  // convergence is quadratic: about ten sweeps even for a dense block of hundreds

}  // namespace

SymmetricEigen jacobi_eigen(std::vector<double> matrix, std::size_t size) {
  const std::size_t n = size;
  double* a = matrix.data();
  // The eigenvectors as rows while rotating, so that every update runs along
  // contiguous memory; rows p and q of a likewise, then copied to columns.
  std::vector<double> rows(n * n, 0.0);
  double* w = rows.data();
  for (std::size_t i = 0; i < n; ++i) w[i * n + i] = 1.0;

  double total = 0.0;
  for (std::size_t k = 0; k < n * n; ++k) total += a[k] * a[k];
  const double epsilon = std::numeric_limits<double>::epsilon();
  const double negligible = epsilon * epsilon * total;
  for (int sweep = 0; sweep < max_sweeps; ++sweep) {
    double off = 0.0;
    for (std::size_t p = 0; p < n; ++p) {
      for (std::size_t q = p + 1; q < n; ++q) off += a[p * n + q] * a[p * n + q];
    }
    if (!(off > negligible)) break;
    for (std::size_t p = 0; p < n; ++p) {
      for (std::size_t q = p + 1; q < n; ++q) {
        const double apq = a[p * n + q];
        if (apq == 0.0) continue;
        // t = tan of the angle that zeroes a(p, q), the smaller root, for stability.
        const double tau = (a[q * n + q] - a[p * n + p]) / (2.0 * apq);
        const double t = std::fabs(tau) > 1e150 ? 0.5 / tau
                                                : (tau >= 0.0 ? 1.0 : -1.0) / (std::fabs(tau) + std::sqrt(1.0 + tau * tau));
        const double c = 1.0 / std::sqrt(1.0 + t * t);
        const double s = t * c;
        const double app = a[p * n + p];
        const double aqq = a[q * n + q];
        double* row_p = a + p * n;
        double* row_q = a + q * n;
        for (std::size_t k = 0; k < n; ++k) {
          const double akp = row_p[k];
          const double akq = row_q[k];
          row_p[k] = c * akp - s * akq;
          row_q[k] = s * akp + c * akq;
        }
        row_p[p] = app - t * apq;
        row_q[q] = aqq + t * apq;
        row_p[q] = 0.0;
        row_q[p] = 0.0;
        for (std::size_t k = 0; k < n; ++k) {
          a[k * n + p] = row_p[k];
          a[k * n + q] = row_q[k];
        }
        double* w_p = w + p * n;
        double* w_q = w + q * n;
        for (std::size_t k = 0; k < n; ++k) {
          const double vkp = w_p[k];
          const double vkq = w_q[k];
          w_p[k] = c * vkp - s * vkq;
          w_q[k] = s * vkp + c * vkq;
        }
      }
    }
  }
  SymmetricEigen eigen{n, std::vector<double>(n), std::vector<double>(n * n)};
  for (std::size_t i = 0; i < n; ++i) {
    eigen.values[i] = a[i * n + i];
    for (std::size_t j = 0; j < n; ++j) eigen.vectors[i * n + j] = w[j * n + i];
  }
  return eigen;
}

}  // namespace irteq
