// The equipercentile step differentiated along the branch it took, with the
// cumulative sums of the distributions' derivatives in the order of the
// distributions' own.
#include "standard_errors/equivalent_derivatives.hpp"

namespace irteq {

void equivalent_derivatives(std::span<const EquipercentileStep> steps, std::span<const double> dx, double x_factor,
                            std::span<const double> dy, double y_factor, std::span<double> scratch,
                            Gradients& gradients, std::size_t column) {
  // dF_Y, the cumulative derivatives of form Y's adjusted distribution.
  if (!dy.empty()) {
    double sum = 0.0;
    for (std::size_t j = 0; j < dy.size(); ++j) {
      sum = j == 0 ? y_factor * dy[0] : sum + y_factor * dy[j];
      scratch[j] = sum;
    }
  }
  double cumulative_x = 0.0;  // dF_X up to the point before
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const EquipercentileStep& step = steps[i];
    double rank = 0.0;
    if (!dx.empty()) {
      const double point = x_factor * dx[i];
      rank = i == 0 ? point / 2.0 : cumulative_x + point / 2.0;
      cumulative_x = i == 0 ? point : cumulative_x + point;
    }
    if (step.constant) {
      gradients.at(i, column) = 0.0;
      continue;
    }
    double derivative = rank / step.width;
    if (!dy.empty()) {
      const double lower = step.j == 0 ? 0.0 : scratch[step.j - 1];
      const double width = y_factor * dy[step.j];
      derivative = (rank - lower) / step.width - (step.rank - step.lower) * width / (step.width * step.width);
    }
    gradients.at(i, column) = derivative;
  }
}

}  // namespace irteq
