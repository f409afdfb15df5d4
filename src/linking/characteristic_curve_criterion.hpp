#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "irteq/input.hpp"
#include "irteq/linking.hpp"

namespace irteq {

// The common items and grids of a characteristic-curve linking, as the
// models evaluate them ("MU" items as "BN"), weights normalised to sum to 1,
// with each scale's fixed side computed once: on form Y's scale form Y's
// items at group 2's points, on form X's scale form X's at group 1's.
struct CriterionSetup {
  std::vector<Item> x;     // form X's common items, pair by pair
  std::vector<Item> y;     // their form Y counterparts
  QuadratureGrid y_scale;  // group 2's grid: where form Y's and transformed form X's curves meet
  QuadratureGrid x_scale;  // group 1's grid: the symmetric part, on form X's scale
  bool symmetric = false;
  std::vector<std::size_t> first_category;  // per item, its first category's place in a point's row
  std::size_t categories = 0;               // all items' categories: the length of a point's row
  std::vector<double> y_fixed;  // per point of y_scale, every form Y item's category probabilities
  std::vector<double> x_fixed;  // per point of x_scale, every form X item's (symmetric only)
};

CriterionSetup criterion_setup(std::vector<Item> x, std::vector<Item> y, QuadratureGrid y_scale,
                               QuadratureGrid x_scale, bool symmetric);

// A criterion's value at (A, B) with its gradient and Hessian in (A, B).
struct CriterionValue {
  double value = 0.0;
  std::array<double, 2> gradient{};  // d/dA, d/dB
  std::array<double, 3> hessian{};   // d2/dA2, d2/dAdB, d2/dB2
};

// Haebara: sum_q w_q sum_items sum_k (P_Y,k(theta_q) - P_X*,k(theta_q))^2
// over every category of an item, the correct response only of an "L3" item;
// Stocking-Lord: sum_q w_q (sum_items sum_k u_k (P_Y,k - P_X*,k))^2 with the
// category scores u_k. P_X* is form X's item on form Y's scale:
// P_X*(theta) = P_X((theta - B) / A). The symmetric criterion adds the same
// sum on form X's scale, form Y's items mapped back: P_Y(A theta + B) against
// P_X(theta) at group 1's points.
// method is haebara or stocking_lord.
CriterionValue characteristic_curve_criterion(LinkingMethod method, const CriterionSetup& setup, double A, double B);

}  // namespace irteq
