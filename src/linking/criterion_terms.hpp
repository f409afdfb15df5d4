#pragma once

// The pieces both characteristic-curve criteria are built of: the ability at
// which a transformed item is evaluated, with its derivatives in (A, B), and
// one weighted squared difference added with its gradient and Hessian.
#include "linking/characteristic_curve_criterion.hpp"

namespace irteq {

// An ability xi(A, B) with its gradient and Hessian in (A, B).
struct TransformedAbility {
  double xi = 0.0;
  std::array<double, 2> gradient{};
  std::array<double, 3> hessian{};
};

// Form X's item on form Y's scale is form X's at xi = (theta - B) / A.
inline TransformedAbility onto_form_x(double theta, double A, double B) {
  const double xi = (theta - B) / A;
  return {xi, {-xi / A, -1.0 / A}, {2.0 * xi / (A * A), 1.0 / (A * A), 0.0}};
}

// Form Y's item mapped back to form X's scale is form Y's at xi = A theta + B.
inline TransformedAbility onto_form_y(double theta, double A, double B) {
  return {A * theta + B, {theta, 1.0}, {0.0, 0.0, 0.0}};
}

// Adds w * r^2, where r = fixed - f(xi) and f has slope df and curvature d2f
// at xi, with the gradient and Hessian of the term in (A, B).
inline void add_squared_difference(CriterionValue& sum, double w, double r, double df, double d2f,
                                   const TransformedAbility& at) {
  const double ra = -df * at.gradient[0];
  const double rb = -df * at.gradient[1];
  const double raa = -(d2f * at.gradient[0] * at.gradient[0] + df * at.hessian[0]);
  const double rab = -(d2f * at.gradient[0] * at.gradient[1] + df * at.hessian[1]);
  const double rbb = -(d2f * at.gradient[1] * at.gradient[1] + df * at.hessian[2]);
  sum.value += w * r * r;
  sum.gradient[0] += 2.0 * w * r * ra;
  sum.gradient[1] += 2.0 * w * r * rb;
  sum.hessian[0] += 2.0 * w * (ra * ra + r * raa);
  sum.hessian[1] += 2.0 * w * (ra * rb + r * rab);
  sum.hessian[2] += 2.0 * w * (rb * rb + r * rbb);
}

}  // namespace irteq
