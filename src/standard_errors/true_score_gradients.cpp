// Delta-method gradients of IRT true score equivalents. With u = (theta - B) / A
// the root on form X's own scale, tau_X(u) = x and e = tau_Y(A u + B), so
//   de/d(eta_X) = -tau_Y'(theta) A (d tau_X/d eta_X)(u) / tau_X'(u),
//   de/d(eta_Y) = (d tau_Y/d eta_Y)(theta), de/dA = tau_Y'(theta) u, de/dB = tau_Y'(theta).
// Below the chance score e = (x - x(1)) cY / cX + y(1), whose chance scores
// depend on the "L3" items' c alone (the linking leaves c unchanged).
#include "standard_errors/true_score_gradients.hpp"

#include <cstddef>
#include <span>
#include <vector>

#include "models/parameter_derivatives.hpp"
#include "truescore/true_score_equivalents.hpp"

namespace irteq {

namespace {

// A form's true score slope in theta at theta, with its derivatives in each of
// the form's estimated parameters written to columns from the item offsets on.
double true_score_derivatives(std::span<const Item> items, const std::vector<std::size_t>& offsets, double theta,
                              ParameterDerivatives& d, Gradients& gradients, std::size_t row) {
  double slope = 0.0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    parameter_derivatives(item, theta, d);
    for (std::size_t c = 0; c < d.categories; ++c) {
      slope += static_cast<double>(item.category_scores[c]) * d.dtheta[c];
    }
    for (std::size_t k = 0; k < d.parameters; ++k) {
      double sum = 0.0;
      for (std::size_t c = 0; c < d.categories; ++c) {
        sum += static_cast<double>(item.category_scores[c]) * d.at(d.dparameter, k, c);
      }
      gradients.at(row, offsets[i] + k) = sum;
    }
  }
  return slope;
}

// factor times d(chance score)/dc of each item with a chance parameter (the "L3" c), in its column.
void chance_score_derivatives(std::span<const Item> items, const std::vector<std::size_t>& offsets, double factor,
                              Gradients& gradients, std::size_t row) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    const int chance = model_facts(item.model).chance_parameter;
    if (chance < 0) continue;
    const auto score_step = static_cast<double>(item.category_scores[1] - item.category_scores[0]);
    const std::size_t column = static_cast<std::size_t>(chance) - first_estimated_parameter(item.model);
    gradients.at(row, offsets[i] + column) = factor * score_step;
  }
}

}  // namespace

Gradients true_score_gradients(const EquatingInput& input, double A, double B, const EquatingResult& result,
                               const ParameterLayout& layout) {
  const std::vector<double>& scores_x = result.x.raw_scores;
  const TrueScoreEquating& true_score = result.true_score;
  Gradients gradients(scores_x.size(), layout.columns());
  const double chance_x = chance_score(input.items_x);
  const double chance_y = chance_score(input.items_y);
  ParameterDerivatives d;
  for (std::size_t row = 0; row < scores_x.size(); ++row) {
    switch (true_score.theta_kinds[row]) {
      case ThetaKind::linear: {
        // The lowest point is y(1) whatever the chance scores (and cX may be 0 there).
        const double run = scores_x[row] - scores_x.front();
        if (run == 0.0) break;
        chance_score_derivatives(input.items_x, layout.x_offsets, -run * chance_y / (chance_x * chance_x), gradients,
                                 row);
        chance_score_derivatives(input.items_y, layout.y_offsets, run / chance_x, gradients, row);
        break;
      }
      case ThetaKind::searched: {
        const double theta = true_score.thetas[row];
        const double u = (theta - B) / A;
        const double slope_x = true_score_derivatives(input.items_x, layout.x_offsets, u, d, gradients, row);
        const double slope_y = true_score_derivatives(input.items_y, layout.y_offsets, theta, d, gradients, row);
        const double factor = -slope_y * A / slope_x;
        for (std::size_t column = 0; column < layout.x_size; ++column) gradients.at(row, column) *= factor;
        gradients.at(row, layout.a_column()) = slope_y * u;
        gradients.at(row, layout.b_column()) = slope_y;
        break;
      }
      case ThetaKind::top:
        break;  // form Y's top score, a constant
    }
  }
  return gradients;
}

}  // namespace irteq
