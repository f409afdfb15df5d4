// Derivatives of the models in theta, for the characteristic-curve linking
// criteria: a logistic sigma has slope s sigma (1 - sigma) and curvature
// s^2 sigma (1 - sigma)(1 - 2 sigma); graded items difference the cumulative
// curves; a nominal item's p_k has slope D p_k (a_k - abar) and curvature
// D^2 p_k ((a_k - abar)^2 - var), abar and var the p-weighted mean and
// variance of its slopes.
#include "models/category_derivatives.hpp"

#include <array>
#include <cmath>

#include "irteq/limits.hpp"
#include "models/category_probabilities.hpp"
#include "models/normal_cdf_derivatives.hpp"

namespace irteq {

namespace {

struct Slopes {
  double first = 0.0;
  double second = 0.0;
};

Slopes logistic_slopes(double scale, double z) {
  const double sigma = 1.0 / (1.0 + std::exp(-z));
  const double spread = sigma * (1.0 - sigma);
  return {scale * spread, scale * scale * spread * (1.0 - 2.0 * sigma)};
}

// Category k's probability is the difference of the cumulative curves k - 1
// and k (the first is 1, the last category's next is 0).
void graded(int m, std::span<double> dp, std::span<double> d2p, auto cumulative) {
  Slopes previous{};
  for (int k = 1; k < m; ++k) {
    const Slopes above = cumulative(k);
    dp[static_cast<std::size_t>(k - 1)] = previous.first - above.first;
    d2p[static_cast<std::size_t>(k - 1)] = previous.second - above.second;
    previous = above;
  }
  dp[static_cast<std::size_t>(m - 1)] = previous.first;
  d2p[static_cast<std::size_t>(m - 1)] = previous.second;
}

}  // namespace

void category_derivatives(const Item& item, double theta, std::span<double> dp, std::span<double> d2p) {
  const std::vector<double>& q = item.parameters;
  const auto m = static_cast<int>(item.category_scores.size());
  switch (item.model) {
    case ItemModel::l3: {
      const double slope = q[0] * q[1];
      const double z = slope * (theta - q[2]);
      const Slopes correct = (z <= 99.0 && z >= -99.0) ? logistic_slopes(slope, z) : Slopes{};
      dp[1] = (1.0 - q[3]) * correct.first;
      d2p[1] = (1.0 - q[3]) * correct.second;
      dp[0] = -dp[1];
      d2p[0] = -d2p[1];
      break;
    }
    case ItemModel::sn:
      graded(m, dp, d2p, [&](int k) {
        const NormalCdfDerivatives d = normal_cdf_derivatives((theta - q[static_cast<std::size_t>(k)]) * q[0]);
        return Slopes{d.first * q[0], d.second * q[0] * q[0]};
      });
      break;
    case ItemModel::sl:
      graded(m, dp, d2p, [&](int k) {
        const double slope = q[0] * q[1];
        return logistic_slopes(slope, slope * (theta - q[static_cast<std::size_t>(k + 1)]));
      });
      break;
    case ItemModel::bn:
    case ItemModel::mu: {  // held as "BN" once prepared
      std::array<double, max_categories> p{};
      category_probabilities(item, theta, p);
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
