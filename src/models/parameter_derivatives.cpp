// Derivatives of the models in their parameters and theta by hyper-dual
// numbers: x = v + t e1 + k e2 + tk e1 e2 with e1^2 = e2^2 = 0, e1 carrying
// theta and e2 one parameter, so that one evaluation per parameter gives the
// value, both first derivatives and the mixed second one exactly (no
// differencing). A function f of x gives f(v) + f'(v)(t e1 + k e2) +
// (f'(v) tk + f''(v) t k) e1 e2.
#include "models/parameter_derivatives.hpp"

#include <array>
#include <cmath>

#include "irteq/limits.hpp"
#include "models/item_model_facts.hpp"
#include "models/normal_cdf.hpp"
#include "models/normal_cdf_derivatives.hpp"

namespace irteq {

namespace {

// No default member values: the arrays of them below are filled before they
// are read, and zeroing kilobytes per call would cost more than the models.
struct Hyper {
  double v;
  double t;
  double k;
  double tk;
};

Hyper constant(double v) { return {v, 0.0, 0.0, 0.0}; }
Hyper operator+(Hyper a, Hyper b) { return {a.v + b.v, a.t + b.t, a.k + b.k, a.tk + b.tk}; }
Hyper operator-(Hyper a, Hyper b) { return {a.v - b.v, a.t - b.t, a.k - b.k, a.tk - b.tk}; }
Hyper operator*(Hyper a, Hyper b) {
  return {a.v * b.v, a.t * b.v + a.v * b.t, a.k * b.v + a.v * b.k, a.tk * b.v + a.t * b.k + a.k * b.t + a.v * b.tk};
}
Hyper apply(Hyper x, double f0, double f1, double f2) {
  return {f0, f1 * x.t, f1 * x.k, f1 * x.tk + f2 * x.t * x.k};
}
Hyper reciprocal(Hyper x) {
  const double r = 1.0 / x.v;
  return apply(x, r, -r * r, 2.0 * r * r * r);
}
Hyper operator/(Hyper a, Hyper b) { return a * reciprocal(b); }
Hyper exp(Hyper x) {
  const double e = std::exp(x.v);
  return apply(x, e, e, e);
}
Hyper logistic(Hyper z) { return constant(1.0) / (constant(1.0) + exp(constant(0.0) - z)); }
Hyper normal(Hyper x) {
  const NormalCdfDerivatives d = normal_cdf_derivatives(x.v);
  return apply(x, normal_cdf(x.v), d.first, d.second);
}

using Values = std::array<Hyper, max_parameters + 4>;
using Probabilities = std::array<Hyper, max_categories>;

// Category k's probability is the difference of cumulative curves k - 1 and k.
void graded(std::size_t m, Probabilities& p, auto above) {
  Hyper previous = constant(1.0);
  for (std::size_t k = 1; k < m; ++k) {
    const Hyper next = above(k);
    p[k - 1] = previous - next;
    previous = next;
  }
  p[m - 1] = previous;
}

// exp(D (a_k theta + c_k)) normalised; the largest exponent's value is taken
// off first, which changes no probability and keeps the quotients finite.
void nominal(std::size_t m, Hyper theta, Hyper d, const Hyper* slopes, const Hyper* intercepts, Probabilities& p) {
  double largest = -HUGE_VAL;
  std::array<Hyper, max_categories> z;
  for (std::size_t k = 0; k < m; ++k) {
    z[k] = d * (slopes[k] * theta + intercepts[k]);
    largest = std::fmax(largest, z[k].v);
  }
  Hyper sum = constant(0.0);
  for (std::size_t k = 0; k < m; ++k) {
    p[k] = exp(z[k] - constant(largest));
    sum = sum + p[k];
  }
  for (std::size_t k = 0; k < m; ++k) p[k] = p[k] / sum;
}

void model(const Item& item, Hyper theta, const Values& q, Probabilities& p) {
  const std::size_t m = item.category_scores.size();
  switch (item.model) {
    case ItemModel::l3: {
      Hyper z = (q[0] * q[1]) * (theta - q[2]);
      if (!(z.v <= 99.0)) z = constant(99.0);
      if (!(z.v >= -99.0)) z = constant(-99.0);
      const Hyper correct = q[3] + (constant(1.0) - q[3]) * logistic(z);
      p[0] = constant(1.0) - correct;
      p[1] = correct;
      break;
    }
    case ItemModel::sn:
      graded(m, p, [&](std::size_t k) { return normal((theta - q[k]) * q[0]); });
      break;
    case ItemModel::sl:
      graded(m, p, [&](std::size_t k) { return logistic((q[0] * q[1]) * (theta - q[k + 1])); });
      break;
    case ItemModel::bn:
      nominal(m, theta, q[0], &q[1], &q[1 + m], p);
      break;
    case ItemModel::mu: {
      // As "BN": slopes k a, intercepts a (d(1) + ... + d(k)) - k a b.
      std::array<Hyper, max_categories> slopes;
      std::array<Hyper, max_categories> intercepts;
      Hyper running = constant(0.0);
      for (std::size_t k = 1; k <= m; ++k) {
        running = running + q[1] * q[2 + k];
        const Hyper count = constant(static_cast<double>(k));
        slopes[k - 1] = count * q[1];
        intercepts[k - 1] = running - count * q[1] * q[2];
      }
      nominal(m, theta, q[0], slopes.data(), intercepts.data(), p);
      break;
    }
  }
}

}  // namespace

void parameter_derivatives(const Item& item, double theta, ParameterDerivatives& out) {
  const std::size_t m = item.category_scores.size();
  const std::size_t n = estimated_parameter_count(item);
  const std::size_t first = first_estimated_parameter(item.model);
  out.categories = m;
  out.parameters = n;
  out.p.resize(m);
  out.dtheta.resize(m);
  out.dparameter.resize(n * m);
  out.dtheta_dparameter.resize(n * m);
  Values q;
  for (std::size_t i = 0; i < item.parameters.size() + 4 && i < q.size(); ++i) {
    q[i] = constant(i < item.parameters.size() ? item.parameters[i] : 0.0);
  }
  Probabilities p;
  for (std::size_t k = 0; k < n; ++k) {
    q[first + k].k = 1.0;
    model(item, Hyper{theta, 1.0, 0.0, 0.0}, q, p);
    q[first + k].k = 0.0;
    for (std::size_t c = 0; c < m; ++c) {
      out.dparameter[k * m + c] = p[c].k;
      out.dtheta_dparameter[k * m + c] = p[c].tk;
    }
  }
  for (std::size_t c = 0; c < m; ++c) {
    out.p[c] = p[c].v;
    out.dtheta[c] = p[c].t;
  }
}

}  // namespace irteq
