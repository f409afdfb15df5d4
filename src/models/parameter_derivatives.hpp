#pragma once

#include <cstddef>
#include <vector>

#include "irteq/input.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

// An item's category probabilities at theta with their derivatives in theta,
// in each estimated parameter, and in theta and each parameter together.
// Category c, parameter k (in covariance order) is at k * categories + c.
struct ParameterDerivatives {
  std::size_t categories = 0;
  std::size_t parameters = 0;
  std::vector<double> p;
  std::vector<double> dtheta;
  std::vector<double> dparameter;
  std::vector<double> dtheta_dparameter;
  double at(const std::vector<double>& values, std::size_t parameter, std::size_t category) const {
    return values[parameter * categories + category];
  }
};

// For an item as read ("MU" as "MU", which equate() turns into "BN" on the
// way), by forward differentiation of the models' own expressions: the very
// function irteq computes, so that its clamps (the 3PL logit at +-99, the
// normal curve beyond 10) give zero derivatives. The probabilities equal
// category_probabilities' to rounding, not always to the last bit (a nominal
// item's exponents are always shifted by the largest here). out is resized
// to the item and reused between calls without allocating again.
void parameter_derivatives(const Item& item, double theta, ParameterDerivatives& out);

}  // namespace irteq
