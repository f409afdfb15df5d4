#pragma once

namespace irteq {

// First and second derivatives of normal_cdf: of the approximation itself,
// 1 - 1 / (2 s(|x|)^16), not of the exact function, so that a minimiser that
// uses them finds the minimum of what is computed. Zero beyond |x| = 10,
// where normal_cdf is constant.
struct NormalCdfDerivatives {
  double first = 0.0;
  double second = 0.0;
};
NormalCdfDerivatives normal_cdf_derivatives(double x);

}  // namespace irteq
