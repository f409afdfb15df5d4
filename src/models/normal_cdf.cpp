#include "models/normal_cdf.hpp"

#include <cmath>

#include "models/normal_cdf_coefficients.hpp"

namespace irteq {

double normal_cdf(double x) {
  using namespace normal_cdf_coefficients;
  double t = std::fabs(x);
  if (t > 10.0) t = 10.0;
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double t4 = t3 * t;
  const double t5 = t4 * t;
  const double t6 = t5 * t;
  double s = 1.0 + d1 * t + d2 * t2 + d3 * t3 + d4 * t4 + d5 * t5 + d6 * t6;
  s = s * s;  // four squarings: s to the 16th power
  s = s * s;
  s = s * s;
  s = s * s;
  const double q = 1.0 - 1.0 / (2.0 * s);
  return x >= 0.0 ? q : 1.0 - q;
}

}  // namespace irteq
