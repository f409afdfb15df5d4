#include "observed/score_moments.hpp"

#include <cmath>
#include <limits>

namespace irteq {

Moments score_moments(std::span<const double> values, std::span<const double> weights) {
  const std::size_t n = values.size();
  double total = 0.0;
  for (std::size_t i = 0; i < n; ++i) total += weights[i];
  // The relative weight f(i) / total, formed afresh in each pass: the same double each time.
  const auto relative = [&](std::size_t i) { return weights[i] / total; };
  Moments moments;
  for (std::size_t i = 0; i < n; ++i) moments.mean += relative(i) * values[i];
  double s2 = 0.0;
  double s3 = 0.0;
  double s4 = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double d = values[i] - moments.mean;
    const double second = (d * relative(i)) * d;
    const double third = second * d;
    s2 += second;
    s3 += third;
    s4 += d * third;
  }
  moments.sd = std::sqrt(s2);
  const double sd = moments.sd;
  moments.skewness = s3 / (sd * sd * sd);
  moments.kurtosis = s4 / (sd * (sd * sd * sd));
  if (sd > 0.0 && sd * sd * sd < std::numeric_limits<double>::min()) {
    // A nearly one-point distribution: the powers of sd underflow and would
    // turn finite moments into infinities. Dividing step by step keeps them.
    moments.skewness = ((s3 / sd) / sd) / sd;
    moments.kurtosis = (((s4 / sd) / sd) / sd) / sd;
  }
  return moments;
}

}  // namespace irteq
