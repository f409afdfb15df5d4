// d/dt of q(t) = 1 - 1 / (2 s^16), with s the polynomial of normal_cdf:
// q' = 8 s' / s^17 and q'' = 8 (s'' / s^17 - 17 s'^2 / s^18). normal_cdf is
// q(|x|) for x >= 0 and 1 - q(|x|) below, so its slope is q'(|x|) on both
// sides and its curvature q''(|x|) carries the sign of x.
#include "models/normal_cdf_derivatives.hpp"

#include <cmath>

#include "models/normal_cdf_coefficients.hpp"

namespace irteq {

NormalCdfDerivatives normal_cdf_derivatives(double x) {
  using namespace normal_cdf_coefficients;
  const double t = std::fabs(x);
  if (!(t <= 10.0)) return {};
  const double s = 1.0 + t * (d1 + t * (d2 + t * (d3 + t * (d4 + t * (d5 + t * d6)))));
  const double s1 = d1 + t * (2.0 * d2 + t * (3.0 * d3 + t * (4.0 * d4 + t * (5.0 * d5 + t * 6.0 * d6))));
  const double s2 = 2.0 * d2 + t * (6.0 * d3 + t * (12.0 * d4 + t * (20.0 * d5 + t * 30.0 * d6)));
  const double inverse = 1.0 / s;
  double inverse16 = inverse * inverse;  // four squarings: the 16th power
  inverse16 = inverse16 * inverse16;
  inverse16 = inverse16 * inverse16;
  inverse16 = inverse16 * inverse16;
  const double first = 8.0 * s1 * inverse16 * inverse;
  const double second = 8.0 * inverse16 * inverse * (s2 - 17.0 * s1 * s1 * inverse);
  return {first, x >= 0.0 ? second : -second};
}

}  // namespace irteq
