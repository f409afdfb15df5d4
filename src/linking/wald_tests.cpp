// Lord's chi-square for each common item, by Cholesky's factorisation of the
// covariance of the item's parameter differences: Sigma = L L' and
// chi_square = |L^-1 Delta|^2. A pivot at or below n epsilon times its own
// variance means Sigma is singular to working precision, and the statistic
// would be rounding error over rounding error.
#include "linking/wald_tests.hpp"

#include <cfloat>
#include <cmath>

#include "common/chi_square_upper_tail.hpp"
#include "irteq/error.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

namespace {

// Each item's first row in its form's covariance.
std::vector<std::size_t> item_offsets(const std::vector<Item>& items) {
  std::vector<std::size_t> offsets;
  std::size_t at = 0;
  for (const Item& item : items) {
    offsets.push_back(at);
    at += estimated_parameter_count(item);
  }
  return offsets;
}

// The n x n block of a covariance from row and column `first`, row-major; zeros without one.
std::vector<double> block(const std::optional<Covariance>& covariance, std::size_t first, std::size_t n) {
  std::vector<double> out(n * n, 0.0);
  if (!covariance) return out;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) out[i * n + j] = covariance->values[(first + i) * covariance->size + first + j];
  }
  return out;
}

// One nonzero entry of a row of the transformation's Jacobian.
struct JacobianEntry {
  std::size_t column = 0;
  double value = 0.0;
};

// The Jacobian over an item's estimated parameters, row by row: each row has
// its diagonal entry and, for a nominal intercept, one on its slope. Kept
// sparse, J Sigma J' costs 4 n^2 products rather than n^4 (n = 240 for a
// nominal item of 120 categories).
std::vector<std::vector<JacobianEntry>> jacobian(const Item& item, double A, double B) {
  const std::size_t first = first_estimated_parameter(item.model);
  const std::size_t n = estimated_parameter_count(item);
  const auto m = static_cast<int>(item.category_scores.size());
  std::vector<std::vector<JacobianEntry>> J(n);
  for (std::size_t k = 0; k < n; ++k) {
    switch (parameter_role(item.model, m, first + k)) {
      case ParameterRole::slope:
        J[k] = {{k, 1.0 / A}};
        break;
      case ParameterRole::location:
      case ParameterRole::deviation:
        J[k] = {{k, A}};
        break;
      case ParameterRole::intercept:  // c(k) - a(k) B / A, its slope m parameters before it
        J[k] = {{k - static_cast<std::size_t>(m), -B / A}, {k, 1.0}};
        break;
      case ParameterRole::scaling:
      case ParameterRole::asymptote:
        J[k] = {{k, 1.0}};
        break;
    }
  }
  return J;
}

}  // namespace

std::vector<std::optional<WaldTest>> wald_tests(const EquatingInput& forms, std::span<const Item> linked_x,
                                                std::span<const CommonItemPositions> common,
                                                const LinkingInput& linking, const ParameterCovariances& covariances,
                                                double A, double B) {
  const std::vector<std::size_t> x_offsets = item_offsets(forms.items_x);
  const std::vector<std::size_t> y_offsets = item_offsets(forms.items_y);
  std::vector<std::optional<WaldTest>> tests;
  for (std::size_t pair = 0; pair < common.size(); ++pair) {
    const Item& x = forms.items_x[common[pair].x];
    const Item& y = forms.items_y[common[pair].y];
    const Item& x_linked = linked_x[common[pair].x];
    const std::size_t first = first_estimated_parameter(y.model);
    const std::size_t n = estimated_parameter_count(y);
    const std::vector<double> sigma_x = block(covariances.x, x_offsets[common[pair].x], n);
    std::vector<double> sigma = block(covariances.y, y_offsets[common[pair].y], n);
    const std::vector<std::vector<JacobianEntry>> J = jacobian(x, A, B);
    // sigma += J sigma_x J', each entry summed over the nonzero entries of J's rows i and j in column order.
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        double sum = 0.0;
        for (const JacobianEntry& k : J[i]) {
          for (const JacobianEntry& l : J[j]) sum += k.value * sigma_x[k.column * n + l.column] * l.value;
        }
        sigma[i * n + j] += sum;
      }
    }
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < n; ++i) {
      if (sigma[i * n + i] > 0.0) kept.push_back(i);
    }
    if (kept.empty()) {
      tests.emplace_back();
      continue;
    }
    // Cholesky's factor of the kept rows and columns, in place, and L^-1 Delta beside it.
    const std::size_t r = kept.size();
    std::vector<double> L(r * r, 0.0);
    std::vector<double> z(r, 0.0);
    double chi_square = 0.0;
    for (std::size_t i = 0; i < r; ++i) {
      for (std::size_t j = 0; j <= i; ++j) {
        double value = sigma[kept[i] * n + kept[j]];
        for (std::size_t k = 0; k < j; ++k) value -= L[i * r + k] * L[j * r + k];
        if (j < i) {
          L[i * r + j] = value / L[j * r + j];
          continue;
        }
        if (!(value > static_cast<double>(r) * DBL_EPSILON * sigma[kept[i] * n + kept[i]])) {
          const CommonItemPair& p = linking.common[pair];
          throw Error(linking.common_items_name + ": pair " + std::to_string(pair + 1) + " (form X item " +
                          pair_item_name(p, true) + ", form Y item " + pair_item_name(p, false) +
                          "): the covariance of its parameter differences is singular; the Wald test cannot be had",
                      {.code = ErrorCode::invalid_input,
                       .input = InputPart::common_items,
                       .source = linking.common_items_name,
                       .line = p.line,
                       .row = static_cast<int>(pair + 1)});
        }
        L[i * r + i] = std::sqrt(value);
      }
      const std::size_t k = first + kept[i];
      double value = y.parameters[k] - x_linked.parameters[k];
      for (std::size_t j = 0; j < i; ++j) value -= L[i * r + j] * z[j];
      z[i] = value / L[i * r + i];
      chi_square += z[i] * z[i];
    }
    const int df = static_cast<int>(r);
    tests.push_back(WaldTest{chi_square, df, chi_square_upper_tail(chi_square, df)});
  }
  return tests;
}

}  // namespace irteq
