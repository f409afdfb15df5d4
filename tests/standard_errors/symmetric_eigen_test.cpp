// Householder and QR eigen-decompositions of matrices whose eigenvalues
// are known or whose structure is hard on the method (repeated eigenvalues,
// rank deficiency, a negative eigenvalue, zero rows), against Jacobi's on a
// small one.
#include "standard_errors/symmetric_eigen.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "standard_errors/jacobi_eigen.hpp"

namespace irteq::testing {
namespace {

// Uniform on [-1, 1) from the raw 64-bit engine, the same on every library.
struct Uniform {
  std::mt19937_64 engine;
  double operator()() { return static_cast<double>(engine() >> 11) * 0x1p-52 - 1.0; }
};

// Q diag(values) Q' with Q the product of three reflections of random
// directions: a dense symmetric matrix with the given eigenvalues.
std::vector<double> with_eigenvalues(const std::vector<double>& values, std::uint64_t seed) {
  const std::size_t n = values.size();
  Uniform uniform{std::mt19937_64(seed)};
  std::vector<double> q(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) q[i * n + i] = 1.0;
  for (int reflection = 0; reflection < 3; ++reflection) {
    std::vector<double> u(n);
    double uu = 0.0;
    for (double& x : u) {
      x = uniform();
      uu += x * x;
    }
    for (std::size_t i = 0; i < n; ++i) {
      double qu = 0.0;
      for (std::size_t k = 0; k < n; ++k) qu += q[i * n + k] * u[k];
      for (std::size_t k = 0; k < n; ++k) q[i * n + k] -= 2.0 * qu / uu * u[k];
    }
  }
  std::vector<double> a(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      double sum = 0.0;
      for (std::size_t k = 0; k < n; ++k) sum += q[i * n + k] * values[k] * q[j * n + k];
      a[i * n + j] = a[j * n + i] = sum;
    }
  }
  return a;
}

// G G' / n + 0.01 I with G's entries uniform.
std::vector<double> random_positive_definite(std::size_t n, std::uint64_t seed) {
  Uniform uniform{std::mt19937_64(seed)};
  std::vector<double> g(n * n);
  for (double& x : g) x = uniform();
  std::vector<double> a(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      double sum = i == j ? 0.01 * static_cast<double>(n) : 0.0;
      for (std::size_t k = 0; k < n; ++k) sum += g[i * n + k] * g[j * n + k];
      a[i * n + j] = a[j * n + i] = sum / static_cast<double>(n);
    }
  }
  return a;
}

// The benchmark's dense covariance: blocks of four parameters with
// variances 0.002 and covariances 0.0002, 0.000002 between all others.
// Eigenvalues 0.0018 (three per block), 0.0018 + 4 (0.0002 - 0.000002) =
// 0.002592 (one per block but one) and 0.002592 + 0.000002 n.
std::vector<double> item_blocks_with_a_common_covariance(std::size_t n) {
  std::vector<double> a(n * n, 0.000002);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i / 4 * 4; j < i / 4 * 4 + 4; ++j) a[i * n + j] = i == j ? 0.002 : 0.0002;
  }
  return a;
}

std::vector<double> sorted(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values;
}

TEST(SymmetricEigen, ReconstructsTheMatrixWithOrthonormalVectorsAndItsKnownEigenvalues) {
  struct Case {
    std::string name;
    std::vector<double> matrix;
    std::vector<double> known;  // the eigenvalues ascending; empty when not known
  };
  std::vector<double> rank_40(120, 0.0);
  for (std::size_t k = 0; k < 40; ++k) rank_40[80 + k] = 0.5 + 0.05 * static_cast<double>(k);
  std::vector<double> indefinite(80);
  for (std::size_t k = 0; k < 80; ++k) indefinite[k] = k == 0 ? -0.3 : 0.01 * static_cast<double>(k);
  std::vector<double> blocks_values(160, 0.0018);
  for (std::size_t k = 120; k < 159; ++k) blocks_values[k] = 0.002592;
  blocks_values[159] = 0.002592 + 0.000002 * 160;
  const Case cases[] = {
      {"random positive definite, 200 rows", random_positive_definite(200, 11), {}},
      {"rank 40 of 120", with_eigenvalues(rank_40, 12), rank_40},
      {"indefinite, 80 rows", with_eigenvalues(indefinite, 13), indefinite},
      {"item blocks with a common covariance, 160 rows", item_blocks_with_a_common_covariance(160), blocks_values},
  };
  for (const Case& c : cases) {
    const std::size_t n = static_cast<std::size_t>(std::lround(std::sqrt(static_cast<double>(c.matrix.size()))));
    const SymmetricEigen eigen = symmetric_eigen(c.matrix, n);
    double largest = 0.0;
    for (const double x : c.matrix) largest = std::max(largest, std::fabs(x));
    double reconstruction = 0.0;
    double orthogonality = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        double vlv = 0.0;
        double vv = 0.0;
        for (std::size_t k = 0; k < n; ++k) {
          vlv += eigen.vectors[i * n + k] * eigen.values[k] * eigen.vectors[j * n + k];
          vv += eigen.vectors[k * n + i] * eigen.vectors[k * n + j];
        }
        reconstruction = std::max(reconstruction, std::fabs(vlv - c.matrix[i * n + j]));
        orthogonality = std::max(orthogonality, std::fabs(vv - (i == j ? 1.0 : 0.0)));
      }
    }
    EXPECT_LT(reconstruction, 1e-12 * largest) << c.name;
    EXPECT_LT(orthogonality, 1e-12) << c.name;
    if (c.known.empty()) continue;
    const std::vector<double> found = sorted(eigen.values);
    for (std::size_t k = 0; k < n; ++k) EXPECT_NEAR(found[k], c.known[k], 1e-12 * largest) << c.name << ", " << k;
  }
}

TEST(SymmetricEigen, SetsZeroRowsAsideExactlyAndAgreesWithJacobi) {
  // A positive definite 12 x 12 with rows 0, 5 and 13 of 14 zero.
  const std::vector<double> inner = random_positive_definite(11, 21);
  const std::vector<std::size_t> rows{1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12};
  const std::size_t n = 14;
  std::vector<double> a(n * n, 0.0);
  for (std::size_t i = 0; i < 11; ++i) {
    for (std::size_t j = 0; j < 11; ++j) a[rows[i] * n + rows[j]] = inner[i * 11 + j];
  }
  const SymmetricEigen eigen = symmetric_eigen(a, n);
  for (const std::size_t zero : {0u, 5u, 13u}) {
    EXPECT_EQ(eigen.values[zero], 0.0);
    for (std::size_t k = 0; k < n; ++k) {
      EXPECT_EQ(eigen.vectors[zero * n + k], zero == k ? 1.0 : 0.0) << "row " << zero << ", column " << k;
      EXPECT_EQ(eigen.vectors[k * n + zero], zero == k ? 1.0 : 0.0) << "row " << k << ", column " << zero;
    }
  }
  const std::vector<double> jacobi = sorted(jacobi_eigen(a, n).values);
  const std::vector<double> found = sorted(eigen.values);
  for (std::size_t k = 0; k < n; ++k) EXPECT_NEAR(found[k], jacobi[k], 1e-14 * jacobi.back()) << k;
}

}  // namespace
}  // namespace irteq::testing
