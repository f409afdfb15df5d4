#include "observed/add_item_to_distribution.hpp"

#include <cstddef>

namespace irteq {

namespace {

// Score points summed together: sixteen running sums stay in the vector
// registers; thirty-two would spill them to memory.
constexpr std::size_t block = 16;

}  // namespace

void add_item_to_distribution(std::span<const double> previous, std::span<const int> item_scores,
                              std::span<const double> item_probabilities, std::span<double> next) {
  const std::size_t previous_count = previous.size();
  const std::size_t categories = item_scores.size();
  const int first_score = item_scores.front();
  const auto spread = static_cast<std::size_t>(item_scores.back() - first_score);
  const std::size_t next_count = previous_count + spread;
  const double* in = previous.data();
  double* out = next.data();
  const auto offset = [&](std::size_t k) { return static_cast<std::size_t>(item_scores[k] - first_score); };

  // Each new point sums its categories' terms in category order, from 0, and
  // skips the categories that reach outside the previous range. Points near
  // the two ends take that test per category.
  const auto edge_point = [&](std::size_t x) {
    double sum = 0.0;
    for (std::size_t k = 0; k < categories; ++k) {
      const std::size_t shift = offset(k);
      if (x >= shift && x - shift < previous_count) sum += in[x - shift] * item_probabilities[k];
    }
    out[x] = sum;
  };
  // Points spread .. previous_count - 1 reach inside the previous range for
  // every category; there the sums run over blocks of points at once.
  const std::size_t interior_end = previous_count > spread ? previous_count : spread;
  std::size_t x = 0;
  for (; x < spread && x < next_count; ++x) edge_point(x);
  for (; x + block <= interior_end; x += block) {
    double sum[block] = {};
    for (std::size_t k = 0; k < categories; ++k) {
      const double p = item_probabilities[k];
      const double* from = in + (x - offset(k));
      for (std::size_t t = 0; t < block; ++t) sum[t] += from[t] * p;
    }
    for (std::size_t t = 0; t < block; ++t) out[x + t] = sum[t];
  }
  for (; x < next_count; ++x) edge_point(x);
}

}  // namespace irteq
