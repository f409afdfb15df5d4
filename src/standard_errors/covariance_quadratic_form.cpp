// The delta method's variances g' V g, over the nonzero entries of V only.
#include "standard_errors/covariance_quadratic_form.hpp"

#include <atomic>

#include "equate/run_on_threads.hpp"

namespace irteq {

SparseCovariance sparse_covariance(const ParameterCovariances& covariances, const ParameterLayout& layout) {
  SparseCovariance sparse;
  const auto add = [&](const std::optional<Covariance>& covariance, std::size_t offset) {
    if (!covariance) return;
    const std::size_t n = covariance->size;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        const double value = covariance->values[i * n + j];
        if (value != 0.0) sparse.entries.push_back({offset + i, offset + j, value});
      }
    }
  };
  add(covariances.x, 0);
  add(covariances.y, layout.x_size);
  return sparse;
}

std::vector<double> gradient_variances(const Gradients& gradients, const SparseCovariance& covariance, int threads) {
  std::vector<double> variances(gradients.rows, 0.0);
  std::atomic<std::size_t> next{0};
  run_on_threads(threads, [&](int) {
    for (std::size_t row = next++; row < gradients.rows; row = next++) {
      const double* g = gradients.values.data() + row * gradients.columns;
      double sum = 0.0;
      for (const SparseCovariance::Entry& entry : covariance.entries) sum += g[entry.row] * entry.value * g[entry.column];
      variances[row] = sum;
    }
  });
  return variances;
}

}  // namespace irteq
