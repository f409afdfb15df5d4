#pragma once

#include <cstddef>
#include <span>

#include "irteq/input.hpp"
#include "models/parameter_derivatives.hpp"

namespace irteq {

// One item at one grid point, as the frequency-domain sums of distribution_gradients
// use it: the coefficients of its factor of the score generating function,
// and of that factor's derivatives, on a basis of functions of w. With
// d_c = s_c - s_0 the item's score steps,
//   sum_c v_c w^d_c = t_0 + sum_{c >= 1} t_c (w^d_c - w^d_(c-1)),
// t_c = v_c + ... + v_(m-1) the tail sums of v. For the probabilities t_0 is
// their sum, and these are the factor's coefficients on every item.
//
// The derivatives' coefficients come on one of two bases. The tail basis,
// w^d_c - w^d_(c-1) for c = 1 .. m - 1, takes the tail sums of the
// derivatives (t_0 is zero: the probabilities sum to one whatever theta and
// the parameters); a parameter of a graded item moves one cumulative curve,
// so one of its tail sums alone is not zero. The nominal basis of a "BN"
// item, w^d_c - G(w) for c = 0 .. m - 1 with G the item's factor, takes
// p_c dz_c (dp_c = p_c (dz_c - sum_l p_l dz_l), z_c = D (a_c theta + c_c)),
// so that each slope and intercept has one coefficient that is not zero.
//
// out, derivative_term_count(item) values: the m tail sums of the
// probabilities, then the basis_size(item) coefficients of weight times the
// derivative in theta, then those of weight times the derivative in each
// estimated parameter in covariance order.
bool nominal_basis(const Item& item);
std::size_t basis_size(const Item& item);
std::size_t derivative_term_count(const Item& item);
void derivative_terms(const Item& item, double theta, double weight, ParameterDerivatives& scratch,
                      std::span<double> out);

}  // namespace irteq
