// The upper tail of the chi-square distribution for whole degrees of
// freedom, as Lord's Wald test of a common item needs it. The series are the
// incomplete gamma function's finite sums (Abramowitz and Stegun 26.4.4 and
// 26.4.5), each term the one before times h / (j + 1) or h / (j + 1/2),
// starting from exp(-h), so no factorial or power is formed apart.
#include "common/chi_square_upper_tail.hpp"

#include <cmath>
#include <numbers>

namespace irteq {

double chi_square_upper_tail(double x, int df) {
  if (std::isnan(x)) return x;
  if (x <= 0.0) return 1.0;
  const double h = 0.5 * x;
  const int terms = df / 2;
  double sum = 0.0;
  if (df % 2 == 0) {
    double term = std::exp(-h);
    for (int j = 0; j < terms; ++j) {
      sum += term;
      term *= h / (j + 1.0);
    }
    return sum;
  }
  // Gamma(3/2) = sqrt(pi) / 2.
  double term = std::exp(-h) * std::sqrt(h) * 2.0 / std::sqrt(std::numbers::pi);
  for (int j = 1; j <= terms; ++j) {
    sum += term;
    term *= h / (j + 0.5);
  }
  return std::erfc(std::sqrt(h)) + sum;
}

}  // namespace irteq
