#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// One group's share of a form's synthetic distribution: the grid points as
// the items as read see them, each point's weight (the normalised grid
// weight times the group's synthetic weight), and, when the points move with
// the linking constants, d theta/dA and d theta/dB at each (else empty).
struct GroupThetas {
  std::vector<double> thetas;
  std::vector<double> weights;
  std::vector<double> dtheta_dA;
  std::vector<double> dtheta_dB;
};

// Derivatives of a form's distribution, score point by score point, in each
// of its estimated parameters and in A and B: column k (the form's estimated
// parameters in covariance order, then A, then B) holds
// d f(s) / d eta_k at values[k * points + s], s counted from the form's lowest raw score.
struct DistributionGradients {
  std::size_t points = 0;
  std::size_t columns = 0;
  std::vector<double> values;
  std::span<const double> column(std::size_t k) const { return {values.data() + k * points, points}; }
};

// For f = sum over the groups and their points of weight * (conditional
// score distribution at theta): the distribution's generating function at
// the N-th roots of unity (N a power of two above the score points) is the
// product of the items' factors, so its derivative in item j's parameter is,
// at each point, the product of the other items' factors (prefix and suffix
// products over the items, no division) times the derivative of item j's
// factor; summed over the points, then turned back into score points by one
// inverse transform per column. The normalisation of a marginal distribution
// is left out: it sums to one whatever the parameters, so its derivative
// vanishes. Each frequency is worked out on its own, in a fixed order, so
// the numbers are the same whatever the thread count.
DistributionGradients distribution_gradients(std::span<const Item> items, std::span<const GroupThetas> groups,
                                             int threads);

}  // namespace irteq
