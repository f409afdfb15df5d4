#include "models/l3_probabilities.hpp"

#include <cmath>

namespace irteq {

void l3_probabilities(double theta, double d, double a, double b, double c, std::span<double> p) {
  double z = (d * a) * (theta - b);
  if (!(z <= 99.0)) z = 99.0;  // also catches a logit that is not a number
  if (!(z >= -99.0)) z = -99.0;
  const double correct = c + (1.0 - c) / (1.0 + std::exp(-z));
  p[0] = 1.0 - correct;
  p[1] = correct;
}

}  // namespace irteq
