#include "irteq/covariance.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

std::size_t covariance_size(const std::vector<Item>& items) {
  std::size_t size = 0;
  for (const Item& item : items) size += estimated_parameter_count(item);
  return size;
}

Covariance probability_metric(const Covariance& covariance, const std::vector<Item>& items) {
  if (covariance.guessing == GuessingMetric::probability) return covariance;
  // Each row's dc/dlogit(c): c(1 - c) on an "L3" item's c, 1 elsewhere.
  std::vector<double> slopes;
  slopes.reserve(covariance.size);
  for (const Item& item : items) {
    const std::size_t count = estimated_parameter_count(item);
    for (std::size_t k = 0; k < count; ++k) slopes.push_back(1.0);
    if (item.model == ItemModel::l3 && count > 0) {
      const double c = item.parameters.back();
      slopes.back() = c * (1.0 - c);
    }
  }
  Covariance out{covariance.size, covariance.values, GuessingMetric::probability};
  const std::size_t n = out.size;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      out.values[i * n + j] = out.values[i * n + j] * slopes[i] * slopes[j];
    }
  }
  return out;
}

}  // namespace irteq
