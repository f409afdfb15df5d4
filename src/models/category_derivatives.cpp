// Derivatives of the models in theta, for the characteristic-curve linking
// criteria: a logistic sigma has slope s sigma (1 - sigma) and curvature
// s^2 sigma (1 - sigma)(1 - 2 sigma); graded items difference the cumulative
// curves; a nominal item's p_k has slope D p_k (a_k - abar) and curvature
// D^2 p_k ((a_k - abar)^2 - var), abar and var the p-weighted mean and
// variance of its slopes. The probabilities are computed by the same
// expressions as the models' own, so they are equal to the last bit.
#include "models/category_derivatives.hpp"

#include <cmath>

#include "models/bn_probabilities.hpp"
#include "models/normal_cdf.hpp"
#include "models/normal_cdf_derivatives.hpp"

namespace irteq {

namespace {

// A cumulative curve with its slope and curvature.
struct Curve {
  double value = 1.0;
  double first = 0.0;
  double second = 0.0;
};

// sigma(z) = 1 / (1 + exp(-z)) as the models write it, from exp(-z).
Curve logistic(double scale, double exp_minus_z) {
  const double sigma = 1.0 / (1.0 + exp_minus_z);
  const double spread = sigma * (1.0 - sigma);
  return {sigma, scale * spread, scale * scale * spread * (1.0 - 2.0 * sigma)};
}

// Category k's probability is the difference of the cumulative curves k - 1
// and k (the first is 1, the last category's next is 0).
void graded(int m, std::span<double> p, std::span<double> dp, std::span<double> d2p, auto cumulative) {
  Curve previous{};
  for (int k = 1; k < m; ++k) {
    const Curve above = cumulative(k);
    const auto at = static_cast<std::size_t>(k - 1);
    p[at] = previous.value - above.value;
    dp[at] = previous.first - above.first;
    d2p[at] = previous.second - above.second;
    previous = above;
  }
  const auto last = static_cast<std::size_t>(m - 1);
  p[last] = previous.value;
  dp[last] = previous.first;
  d2p[last] = previous.second;
}

}  // namespace

void category_derivatives(const Item& item, double theta, std::span<double> p, std::span<double> dp,
                          std::span<double> d2p) {
  const std::vector<double>& q = item.parameters;
  const auto m = static_cast<int>(item.category_scores.size());
  switch (item.model) {
    case ItemModel::l3: {
      double z = (q[0] * q[1]) * (theta - q[2]);
      const bool clamped = !(z <= 99.0 && z >= -99.0);
      if (!(z <= 99.0)) z = 99.0;
      if (!(z >= -99.0)) z = -99.0;
      const double e = std::exp(-z);
      const Curve curve = logistic(q[0] * q[1], e);
      const double correct = q[3] + (1.0 - q[3]) / (1.0 + e);
      p[0] = 1.0 - correct;
      p[1] = correct;
      dp[1] = clamped ? 0.0 : (1.0 - q[3]) * curve.first;
      d2p[1] = clamped ? 0.0 : (1.0 - q[3]) * curve.second;
      dp[0] = -dp[1];
      d2p[0] = -d2p[1];
      break;
    }
    case ItemModel::sn:
      graded(m, p, dp, d2p, [&](int k) {
        const double x = (theta - q[static_cast<std::size_t>(k)]) * q[0];
        const NormalCdfDerivatives d = normal_cdf_derivatives(x);
        return Curve{normal_cdf(x), d.first * q[0], d.second * q[0] * q[0]};
      });
      break;
    case ItemModel::sl:
      graded(m, p, dp, d2p, [&](int k) {
        const double slope = q[0] * q[1];
        return logistic(slope, std::exp(-(slope * (theta - q[static_cast<std::size_t>(k + 1)]))));
      });
      break;
    case ItemModel::bn:
    case ItemModel::mu: {  // held as "BN" once prepared
      bn_probabilities(m, theta, q, p);
      const double d = q[0];
      double mean = 0.0;
      for (int k = 0; k < m; ++k) mean += p[static_cast<std::size_t>(k)] * q[static_cast<std::size_t>(1 + k)];
      double variance = 0.0;
      for (int k = 0; k < m; ++k) {
        const double deviation = q[static_cast<std::size_t>(1 + k)] - mean;
        variance += p[static_cast<std::size_t>(k)] * deviation * deviation;
      }
      for (int k = 0; k < m; ++k) {
        const auto at = static_cast<std::size_t>(k);
        const double deviation = q[1 + at] - mean;
        dp[at] = d * p[at] * deviation;
        d2p[at] = d * d * p[at] * (deviation * deviation - variance);
      }
      break;
    }
  }
}

}  // namespace irteq
