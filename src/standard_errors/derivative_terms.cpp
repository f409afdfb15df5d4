// Tail sums over categories of an item's probabilities and of their
// derivatives (parameter_derivatives, items as read), the coefficients of
// the score generating function in differences of powers of w.
#include "standard_errors/derivative_terms.hpp"

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

}  // namespace

std::size_t derivative_term_count(const Item& item) {
  const std::size_t m = item.category_scores.size();
  return m + (estimated_parameter_count(item) + 1) * (m - 1);
}

void derivative_terms(const Item& item, double theta, double weight, ParameterDerivatives& scratch,
                      std::span<double> out) {
  parameter_derivatives(item, theta, scratch);
  const std::size_t m = scratch.categories;
  double sum = 0.0;
  for (std::size_t c = m; c-- > 0;) {
    sum += scratch.p[c];
    out[c] = sum;
  }
  std::span<double> rest = out.subspan(m);
  weighted_tails(scratch.dtheta, weight, rest.first(m - 1));
  for (std::size_t k = 0; k < scratch.parameters; ++k) {
    rest = rest.subspan(m - 1);
    weighted_tails(std::span<const double>(scratch.dparameter).subspan(k * m, m), weight, rest.first(m - 1));
  }
}

}  // namespace irteq
