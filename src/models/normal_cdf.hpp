#pragma once

namespace irteq {

// Standard normal distribution function (Abramowitz and Stegun 26.2.19,
// absolute error below 1.5e-7). Exactly 1 from 9 up and 0 from -9 down.
double normal_cdf(double x);

}  // namespace irteq
