#pragma once

#include <cstddef>
#include <span>

#include "irteq/input.hpp"
#include "models/parameter_derivatives.hpp"

namespace irteq {

// One item at one grid point, as the spectral sums of distribution_gradients
// use it. An item's factor of the score generating function is
//   sum_c v_c w^(s_c - s_0) = t_0 + sum_{c >= 1} t_c (w^(s_c - s_0) - w^(s_(c-1) - s_0)),
// t_c = v_c + ... + v_(m-1) the tail sums of v. For the probabilities t_0 is
// their sum; for their derivatives it is zero (the probabilities sum to one
// whatever theta and the parameters), and a parameter of a graded item moves
// one cumulative curve, so one tail sum alone is not zero.
//
// out, derivative_term_count(item) values: the m tail sums of the
// probabilities, then weight times the m - 1 tail sums (c >= 1) of their
// derivatives in theta, then the same for each estimated parameter in
// covariance order.
std::size_t derivative_term_count(const Item& item);
void derivative_terms(const Item& item, double theta, double weight, ParameterDerivatives& scratch,
                      std::span<double> out);

}  // namespace irteq
