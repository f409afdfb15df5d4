// The items, score steps and derivative terms of a form, arranged for the
// frequency-domain sums of distribution_gradients.
#include "standard_errors/spectral_form.hpp"

#include <algorithm>
#include <atomic>
#include <map>
#include <utility>

#include "common/score_range.hpp"
#include "equate/run_on_threads.hpp"
#include "models/parameter_derivatives.hpp"
#include "standard_errors/derivative_terms.hpp"
#include "standard_errors/unit_roots.hpp"

namespace irteq {

SpectralForm spectral_form(std::span<const Item> items, std::span<const GroupThetas> groups, int threads) {
  SpectralForm form;
  form.points = static_cast<std::size_t>(score_range(items).point_count());
  std::size_t n = 8;
  while (n < form.points) n *= 2;
  form.half = n / 2;

  std::map<std::pair<int, int>, std::size_t> row_numbers;
  std::vector<std::pair<int, int>> steps;
  for (const Item& item : items) {
    SpectralItem laid;
    laid.categories = item.category_scores.size();
    laid.parameters = estimated_parameter_count(item);
    laid.first_term = form.block;
    laid.first_column = form.columns;
    laid.first_row = form.rows.size();
    for (std::size_t c = 1; c < laid.categories; ++c) {
      const std::pair<int, int> step{item.category_scores[c - 1] - item.category_scores[0],
                                     item.category_scores[c] - item.category_scores[0]};
      const auto [at, added] = row_numbers.try_emplace(step, steps.size());
      if (added) steps.push_back(step);
      form.rows.push_back(at->second);
    }
    form.block += derivative_term_count(item);
    form.columns += laid.parameters;
    form.widest = std::max(form.widest, laid.categories);
    form.items.push_back(laid);
  }

  const std::vector<std::complex<double>> roots = unit_roots(n);
  const std::size_t half = form.half;
  form.differences.resize(steps.size() * 2 * half);
  for (std::size_t r = 0; r < steps.size(); ++r) {
    double* real = form.differences.data() + r * 2 * half;
    double* imaginary = real + half;
    const auto [lower, upper] = steps[r];
    for (std::size_t f = 1; f <= half; ++f) {
      const std::complex<double> high = roots[f * static_cast<std::size_t>(upper) % n];
      const std::complex<double> low = roots[f * static_cast<std::size_t>(lower) % n];
      real[f - 1] = high.real() - low.real();
      imaginary[f - 1] = high.imag() - low.imag();
    }
  }

  std::size_t units = 0;
  for (const GroupThetas& group : groups) {
    SpectralGroup laid;
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
