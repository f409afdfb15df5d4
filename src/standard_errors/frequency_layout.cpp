// The items, score steps and derivative terms of a form, arranged for the
// frequency-domain sums of distribution_gradients.
#include "standard_errors/frequency_layout.hpp"

#include <algorithm>
#include <atomic>
#include <map>
#include <utility>

#include "common/run_on_threads.hpp"
#include "common/score_range.hpp"
#include "models/parameter_derivatives.hpp"
#include "standard_errors/derivative_terms.hpp"
#include "standard_errors/unit_roots.hpp"

namespace irteq {

namespace {

// A row w^upper - w^lower, or w^upper alone when lower is below 0.
using Row = std::pair<int, int>;

// Numbers each row by its first use.
class RowNumbers {
 public:
  std::size_t number(Row row) {
    const auto [at, added] = numbers_.try_emplace(row, rows_.size());
    if (added) rows_.push_back(row);
    return at->second;
  }
  const std::vector<Row>& rows() const { return rows_; }

 private:
  std::map<Row, std::size_t> numbers_;
  std::vector<Row> rows_;
};

}  // namespace

FrequencyLayout frequency_layout(std::span<const Item> items, std::span<const GroupThetas> groups,
                                 std::size_t width, int threads) {
  FrequencyLayout form;
  form.points = static_cast<std::size_t>(score_range(items).point_count());
  std::size_t n = 8;
  while (n < form.points) n *= 2;
  form.half = n / 2;
  form.width = std::min(width, std::max<std::size_t>(form.half, 8));
  form.frequencies = (form.half + form.width - 1) / form.width * form.width;

  RowNumbers numbers;
  for (const Item& item : items) {
    FrequencyItem laid;
    laid.categories = item.category_scores.size();
    laid.parameters = estimated_parameter_count(item);
    laid.nominal = nominal_basis(item);
    laid.basis = basis_size(item);
    laid.first_term = form.block;
    laid.first_column = form.columns;
    laid.first_row = form.rows.size();
    const auto step = [&](std::size_t c) { return item.category_scores[c] - item.category_scores[0]; };
    for (std::size_t c = 1; c < laid.categories; ++c) form.rows.push_back(numbers.number({step(c - 1), step(c)}));
    if (laid.nominal) {
      for (std::size_t c = 0; c < laid.categories; ++c) form.rows.push_back(numbers.number({-1, step(c)}));
    }
    form.block += derivative_term_count(item);
    form.columns += laid.parameters;
    form.widest = std::max(form.widest, laid.categories);
    form.items.push_back(laid);
  }

  const std::vector<std::complex<double>> roots = unit_roots(n);
  const std::size_t count = form.frequencies;
  form.powers.resize(numbers.rows().size() * 2 * count);
  for (std::size_t r = 0; r < numbers.rows().size(); ++r) {
    double* real = form.powers.data() + r * 2 * count;
    double* imaginary = real + count;
    const auto [lower, upper] = numbers.rows()[r];
    for (std::size_t f = 1; f <= count; ++f) {
      const std::complex<double> high = roots[f * static_cast<std::size_t>(upper) % n];
      const std::complex<double> low =
          lower < 0 ? std::complex<double>{} : roots[f * static_cast<std::size_t>(lower) % n];
      real[f - 1] = high.real() - low.real();
      imaginary[f - 1] = high.imag() - low.imag();
    }
  }

  std::size_t units = 0;
  for (const GroupThetas& group : groups) {
    FrequencyGroup laid;
    laid.points = group.thetas.size();
    laid.moving = !group.dtheta_dA.empty();
    laid.dtheta_dA = group.dtheta_dA;
    laid.dtheta_dB = group.dtheta_dB;
    laid.terms.resize(laid.points * form.block);
    units += laid.points;
    form.groups.push_back(std::move(laid));
  }
  // Grid points by number, across the groups in turn.
  std::atomic<std::size_t> next{0};
  run_on_threads(threads, [&](int) {
    ParameterDerivatives scratch;
    for (std::size_t unit; (unit = next.fetch_add(1)) < units;) {
      std::size_t g = 0;
      while (unit >= form.groups[g].points) unit -= form.groups[g++].points;
      const GroupThetas& group = groups[g];
      double* block = form.groups[g].terms.data() + unit * form.block;
      for (std::size_t j = 0; j < items.size(); ++j) {
        const std::span<double> out(block + form.items[j].first_term, derivative_term_count(items[j]));
        derivative_terms(items[j], group.thetas[unit], group.weights[unit], scratch, out);
      }
    }
  });
  return form;
}

}  // namespace irteq
