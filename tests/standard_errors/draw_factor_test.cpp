// The draws' factor of a covariance: block by block it reproduces the
// covariance, a parameter held fixed is never moved, and a matrix that is
// not positive semi-definite is refused by name.
#include "standard_errors/draw_factor.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "standard_errors/draw_items.hpp"

namespace irteq::testing {
namespace {

// Three "L3" items and an "SN" item, 12 parameters: items 1 and 2 vary
// together (item 1's c held fixed: its row and column are zero), item 3 is
// held fixed, item 4 is its own block.
struct BlockCase {
  std::vector<Item> items{
      {11, ItemModel::l3, {0, 1}, {1.7, 1.1, -0.6, 0.2}},
      {12, ItemModel::l3, {0, 1}, {1.7, 0.8, 0.4, 0.15}},
      {13, ItemModel::l3, {0, 1}, {1.7, 1.4, 1.1, 0.25}},
      {14, ItemModel::sn, {0, 1, 2}, {0.9, -0.8, 0.7}},
  };
  Covariance covariance{12, std::vector<double>(144, 0.0)};

  BlockCase() {
    // G G' over the rows of each block, G lower triangular with a positive diagonal.
    const std::vector<std::vector<std::size_t>> blocks{{0, 1, 3, 4, 5}, {9, 10, 11}};
    for (const std::vector<std::size_t>& rows : blocks) {
      const std::size_t n = rows.size();
      std::vector<double> g(n * n, 0.0);
      for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j <= i; ++j) g[i * n + j] = i == j ? 0.05 + 0.02 * i : 0.01 * (1.0 + i - 2.0 * j);
      }
      for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
          double sum = 0.0;
          for (std::size_t k = 0; k < n; ++k) sum += g[i * n + k] * g[j * n + k];
          covariance.values[rows[i] * 12 + rows[j]] = sum;
        }
      }
    }
  }
};

TEST(DrawFactor, ReproducesTheCovarianceAndNeverMovesAFixedParameter) {
  const BlockCase block_case;
  const DrawFactor factor = draw_factor(block_case.covariance, block_case.items, "x.cov");
  ASSERT_EQ(factor.blocks.size(), 2u);
  std::vector<double> product(144, 0.0);
  for (const FactorBlock& block : factor.blocks) {
    const std::size_t n = block.rows.size();
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        double sum = 0.0;
        for (std::size_t k = 0; k < n; ++k) sum += block.factor[i * n + k] * block.factor[j * n + k];
        product[block.rows[i] * 12 + block.rows[j]] = sum;
      }
    }
  }
  for (std::size_t k = 0; k < 144; ++k) {
    EXPECT_NEAR(product[k], block_case.covariance.values[k], 1e-16) << "row " << k / 12 + 1 << ", column " << k % 12 + 1;
  }

  NormalDraws stream(7, 0);
  std::vector<double> normals;
  std::vector<Item> drawn;
  const std::vector<Item>& items = block_case.items;
  for (int draw = 0; draw < 200; ++draw) {
    draw_items(items, factor, stream, normals, drawn);
    EXPECT_EQ(drawn[0].parameters[3], items[0].parameters[3]);  // item 1's c
    EXPECT_EQ(drawn[2].parameters, items[2].parameters);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(drawn[i].parameters[0], 1.7);  // D is no estimate
    EXPECT_NE(drawn[0].parameters[1], items[0].parameters[1]);
    EXPECT_NE(drawn[3].parameters[2], items[3].parameters[2]);
  }
}

TEST(DrawFactor, RefusesACovarianceThatIsNotPositiveSemiDefinite) {
  BlockCase block_case;
  // Item 1's a and item 2's b correlated beyond 1.
  std::vector<double>& v = block_case.covariance.values;
  const double beyond = 1.01 * std::sqrt(v[0 * 12 + 0] * v[4 * 12 + 4]);
  v[0 * 12 + 4] = v[4 * 12 + 0] = beyond;
  try {
    draw_factor(block_case.covariance, block_case.items, "x.cov");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.diagnostic().code, ErrorCode::invalid_input);
    EXPECT_EQ(error.diagnostic().item, 1);
    EXPECT_NE(std::string(error.what()).find("x.cov: the covariance of items 1 (number 11) and 2 (number 12)"),
              std::string::npos)
        << error.what();
  }
  // A block of rank 1 (three parameters tied) is semi-definite: drawn, not refused.
  BlockCase tied;
  const double u[] = {0.1, 0.2, -0.1};
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = 0; j < 3; ++j) tied.covariance.values[(9 + i) * 12 + 9 + j] = u[i] * u[j];
  }
  EXPECT_NO_THROW(draw_factor(tied.covariance, tied.items, "x.cov"));
}

// A dense block of 12 "L3" items, 36 rows, past Jacobi's size: item 1's c
// held fixed (a zero row and column), the rest G G' with G lower triangular.
TEST(DrawFactor, FactorsALargeDenseBlockAndNeverMovesAFixedParameter) {
  const std::size_t n = 36;
  std::vector<Item> items;
  for (int i = 0; i < 12; ++i) items.push_back({21 + i, ItemModel::l3, {0, 1}, {1.7, 1.0, -1.0 + 0.2 * i, 0.2}});
  std::vector<double> g(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j <= i; ++j) g[i * n + j] = i == j ? 0.05 : 0.01 * std::sin(7.0 * i + 3.0 * j);
  }
  Covariance covariance{n, std::vector<double>(n * n, 0.0)};
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      double sum = 0.0;
      for (std::size_t k = 0; k < n; ++k) sum += g[i * n + k] * g[j * n + k];
      covariance.values[i * n + j] = i == 2 || j == 2 ? 0.0 : sum;
    }
  }
  const DrawFactor factor = draw_factor(covariance, items, "x.cov");
  ASSERT_EQ(factor.blocks.size(), 1u);
  const std::vector<double>& l = factor.blocks[0].factor;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      double sum = 0.0;
      for (std::size_t k = 0; k < n; ++k) sum += l[i * n + k] * l[j * n + k];
      EXPECT_NEAR(sum, covariance.values[i * n + j], 1e-15) << "row " << i + 1 << ", column " << j + 1;
    }
  }
  for (std::size_t k = 0; k < n; ++k) EXPECT_EQ(l[2 * n + k], 0.0) << "column " << k + 1;
}

}  // namespace
}  // namespace irteq::testing
