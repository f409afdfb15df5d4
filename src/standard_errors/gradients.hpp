#pragma once

#include <cstddef>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// The columns of a run's estimated parameters: form X's (covariance order,
// on its own scale), then form Y's, then the linking constants A and B.
// Without a linking A = 1 and B = 0 are constants and their columns stay 0.
struct ParameterLayout {
  std::size_t x_size = 0;
  std::size_t y_size = 0;
  std::vector<std::size_t> x_offsets;  // first column of each form X item
  std::vector<std::size_t> y_offsets;  // first column of each form Y item
  std::size_t columns() const { return x_size + y_size + 2; }
  std::size_t a_column() const { return x_size + y_size; }
  std::size_t b_column() const { return x_size + y_size + 1; }
};

ParameterLayout parameter_layout(const std::vector<Item>& items_x, const std::vector<Item>& items_y);

// Derivatives of some results (rows) with respect to a run's parameters
// (columns, as ParameterLayout orders them), row-major.
struct Gradients {
  std::size_t rows = 0;
  std::size_t columns = 0;
  std::vector<double> values;

  Gradients() = default;
  Gradients(std::size_t rows_, std::size_t columns_)
      : rows(rows_), columns(columns_), values(rows_ * columns_, 0.0) {}
  double& at(std::size_t row, std::size_t column) { return values[row * columns + column]; }
  double at(std::size_t row, std::size_t column) const { return values[row * columns + column]; }
};

}  // namespace irteq
