// Householder tridiagonalisation of a symmetric matrix (Golub and Van Loan,
// Matrix Computations, algorithm 8.3.1) with Q accumulated backwards from
// the reflections (5.1), so that each touches only the block Q is not yet
// the identity in. Only the upper triangle is updated, and read once per
// reflection, row by row along contiguous memory: for a form of thousands
// of parameters memory traffic, not arithmetic, sets the time. Each sum has
// a fixed order, so vectorising moves no bit.
#include "standard_errors/householder_tridiagonal.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace irteq {

namespace {

// Columns of Q accumulated at once: a block of size x 32 doubles stays in
// the second-level cache up to a few thousand rows.
constexpr std::size_t block_columns = 32;

// The reflection I - beta v v' that zeroes column k of a below its
// subdiagonal, read along row k; v replaces those entries, since row k is
// not read again. Returns beta, 0 when there is nothing to zero (a zero row
// stays exactly as it is), and sets the new subdiagonal entry.
double reflect_row(double* a, std::size_t n, std::size_t k, double& subdiagonal) {
  double* v = a + k * n + k + 1;
  const std::size_t m = n - k - 1;
  double tail = 0.0;
  for (std::size_t i = 1; i < m; ++i) tail += v[i] * v[i];
  if (tail == 0.0) {
    subdiagonal = v[0];
    return 0.0;
  }
  const double norm = std::sqrt(v[0] * v[0] + tail);
  // v = x - alpha e1 with alpha's sign against x's first entry, so that no
  // digits cancel; then 2 / v'v = 1 / (norm (norm + |x1|)).
  const double alpha = v[0] >= 0.0 ? -norm : norm;
  const double beta = 1.0 / (norm * (norm + std::fabs(v[0])));
  v[0] -= alpha;
  subdiagonal = alpha;
  return beta;
}

// Row i of A's upper triangle (row[j], j >= i) in p = A x: x(i) times its
// entries right of the diagonal adds to p beyond i, and the row times x to
// p(i), summed in four running sums (more than one keeps the adder busy),
// always the same four, then added in a fixed order.
void add_row_product(const double* row, const double* x, double* p, std::size_t i, std::size_t m) {
  const double xi = x[i];
  for (std::size_t j = i + 1; j < m; ++j) p[j] += xi * row[j];
  double partial[4] = {0.0, 0.0, 0.0, 0.0};
  std::size_t j = i;
  for (; j + 4 <= m; j += 4) {
    for (std::size_t l = 0; l < 4; ++l) partial[l] += row[j + l] * x[j + l];
  }
  double sum = (partial[0] + partial[1]) + (partial[2] + partial[3]);
  for (; j < m; ++j) sum += row[j] * x[j];
  p[i] += sum;
}

}  // namespace

Tridiagonal householder_tridiagonal(std::vector<double> matrix, std::size_t size) {
  const std::size_t n = size;
  Tridiagonal t{std::vector<double>(n, 0.0), std::vector<double>(n, 0.0), std::vector<double>(n * n, 0.0)};
  double* a = matrix.data();
  std::vector<double> scales(n, 0.0);  // beta of each reflection, 0 for none
  std::vector<double> product(n);  // A22 v
  std::vector<double> next_product(n);
  std::vector<double> update(n);
  bool prepared = false;  // reflection k and its product were made during step k - 1
  for (std::size_t k = 0; k + 2 < n; ++k) {
    const std::size_t m = n - k - 1;
    const double* v = a + k * n + k + 1;
    double* trailing = a + (k + 1) * n + k + 1;
    double* p = product.data();
    if (!prepared) {
      t.diagonal[k] = a[k * n + k];
      scales[k] = reflect_row(a, n, k, t.subdiagonal[k]);
      if (scales[k] != 0.0) {
        std::fill_n(p, m, 0.0);
        for (std::size_t i = 0; i < m; ++i) add_row_product(trailing + i * n, v, p, i, m);
      }
    }
    prepared = false;
    const double beta = scales[k];
    if (beta == 0.0) continue;
    double pv = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
      p[i] *= beta;
      pv += p[i] * v[i];
    }
    const double half = 0.5 * beta * pv;
    double* w = update.data();
    for (std::size_t i = 0; i < m; ++i) w[i] = p[i] - half * v[i];
    // The upper triangle of A22 - v w' - w v'. Row 0 first, since it holds
    // the next reflection's column; the next product is then summed from
    // each further row as soon as it is updated, in the same order as a
    // pass of its own would, so the triangle is read once per step.
    for (std::size_t j = 0; j < m; ++j) trailing[j] -= v[0] * w[j] + w[0] * v[j];
    double next_beta = 0.0;
    if (k + 3 < n) {
      t.diagonal[k + 1] = trailing[0];
      next_beta = scales[k + 1] = reflect_row(a, n, k + 1, t.subdiagonal[k + 1]);
      prepared = true;
    }
    const double* next_v = trailing + 1;
    double* q = next_product.data();
    if (next_beta != 0.0) std::fill_n(q, m - 1, 0.0);
    for (std::size_t i = 1; i < m; ++i) {
      const double vi = v[i];
      const double wi = w[i];
      double* row = trailing + i * n;
      for (std::size_t j = i; j < m; ++j) row[j] -= vi * w[j] + wi * v[j];
      if (next_beta != 0.0) add_row_product(row + 1, next_v, q, i - 1, m - 1);
    }
    if (next_beta != 0.0) product.swap(next_product);
  }
  if (n >= 2) {
    t.diagonal[n - 2] = a[(n - 2) * n + n - 2];
    t.subdiagonal[n - 2] = a[(n - 2) * n + n - 1];
  }
  if (n >= 1) t.diagonal[n - 1] = a[(n - 1) * n + n - 1];

  // Q = H0 H1 ... H(n-3) applied to the identity from the last reflection.
  // Each column of Q is its own product, so columns go a block at a time,
  // the block transposed to contiguous rows so it stays in cache; H(k)
  // changes rows and columns from k + 1 on only, and every entry meets the
  // same operations in the same order as with whole rows of Q at once.
  std::vector<double> block(n * block_columns);
  std::array<double, block_columns> sums{};
  double* w = sums.data();
  for (std::size_t first = 0; first < n; first += block_columns) {
    const std::size_t columns = std::min(block_columns, n - first);
    std::fill(block.begin(), block.end(), 0.0);
    for (std::size_t c = 0; c < columns; ++c) block[(first + c) * block_columns + c] = 1.0;
    // H(k) with k + 1 beyond the block's last column leaves the block alone.
    const std::size_t reflections = n < 3 ? 0 : std::min(n - 2, first + block_columns - 1);
    for (std::size_t k = reflections; k-- > 0;) {
      if (scales[k] == 0.0) continue;
      const std::size_t m = n - k - 1;
      const double* v = a + k * n + k + 1;
      double* rows = block.data() + (k + 1) * block_columns;
      std::fill_n(w, block_columns, 0.0);  // v'Q, summed over the rows in order
      for (std::size_t i = 0; i < m; ++i) {
        const double vi = v[i];
        const double* row = rows + i * block_columns;
        for (std::size_t c = 0; c < block_columns; ++c) w[c] += vi * row[c];
      }
      for (std::size_t i = 0; i < m; ++i) {
        const double f = scales[k] * v[i];
        double* row = rows + i * block_columns;
        for (std::size_t c = 0; c < block_columns; ++c) row[c] -= f * w[c];
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t c = 0; c < columns; ++c) t.basis[i * n + first + c] = block[i * block_columns + c];
    }
  }
  return t;
}

}  // namespace irteq
