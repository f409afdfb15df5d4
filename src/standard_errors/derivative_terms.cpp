// Coefficients of an item's factor of the score generating function and of
// its derivatives: tail sums over categories of the probabilities and of
// their derivatives (parameter_derivatives, items as read), or, for "BN"
// items, the nominal model's own derivatives on the basis w^d_c - G(w).
#include "standard_errors/derivative_terms.hpp"

#include <algorithm>
#include <array>

#include "irteq/limits.hpp"
#include "models/bn_probabilities.hpp"

namespace irteq {

namespace {

// weight * (values[c] + ... + values[m - 1]) for c = 1 .. m - 1, summed from the top.
void weighted_tails(std::span<const double> values, double weight, std::span<double> out) {
  double sum = 0.0;
  for (std::size_t c = values.size(); c-- > 1;) {
    sum += values[c];
    out[c - 1] = weight * sum;
  }
}

void probability_tails(std::span<const double> p, std::span<double> out) {
  double sum = 0.0;
  for (std::size_t c = p.size(); c-- > 0;) {
    sum += p[c];
    out[c] = sum;
  }
}

// "BN": D, a(1..m), c(1..m); dz_c/dtheta = D a_c, dz_c/da_k = D theta [c = k], dz_c/dc_k = D [c = k].
void nominal_terms(const Item& item, double theta, double weight, std::span<double> out) {
  const std::size_t m = item.category_scores.size();
  const std::vector<double>& q = item.parameters;
  std::array<double, max_categories> p;
  bn_probabilities(static_cast<int>(m), theta, q, p);
  probability_tails(std::span<const double>(p.data(), m), out);
  std::span<double> rest = out.subspan(m);
  const double d = q[0];
  for (std::size_t c = 0; c < m; ++c) rest[c] = weight * (d * q[1 + c] * p[c]);
  rest = rest.subspan(m);
  std::fill_n(rest.begin(), 2 * m * m, 0.0);
  for (std::size_t k = 0; k < m; ++k) {
    rest[k * m + k] = weight * (d * theta * p[k]);
    rest[(m + k) * m + k] = weight * (d * p[k]);
  }
}

}  // namespace

bool nominal_basis(const Item& item) { return item.model == ItemModel::bn; }

std::size_t basis_size(const Item& item) {
  const std::size_t m = item.category_scores.size();
  return nominal_basis(item) ? m : m - 1;
}

std::size_t derivative_term_count(const Item& item) {
  return item.category_scores.size() + (estimated_parameter_count(item) + 1) * basis_size(item);
}

void derivative_terms(const Item& item, double theta, double weight, ParameterDerivatives& scratch,
                      std::span<double> out) {
  if (nominal_basis(item)) {
    nominal_terms(item, theta, weight, out);
    return;
  }
  parameter_derivatives(item, theta, scratch);
  const std::size_t m = scratch.categories;
  probability_tails(scratch.p, out);
  std::span<double> rest = out.subspan(m);
  weighted_tails(scratch.dtheta, weight, rest.first(m - 1));
  for (std::size_t k = 0; k < scratch.parameters; ++k) {
    rest = rest.subspan(m - 1);
    weighted_tails(std::span<const double>(scratch.dparameter).subspan(k * m, m), weight, rest.first(m - 1));
  }
}

}  // namespace irteq
