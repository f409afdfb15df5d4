// Delta-method gradients of IRT observed score equivalents. With the linking
// theta_Y = A theta_X + B, form X's linked items at theta are its own at
// (theta - B) / A and group 1's linked grid point is A theta0 + B, so
//   form X, group 1: its own items at theta0 (no A, B);
//   form X, group 2: its own items at u = (theta - B) / A, du/dA = -u / A, du/dB = -1 / A;
//   form Y, group 1: at A theta0 + B, d/dA = theta0, d/dB = 1;
//   form Y, group 2: at theta (no A, B).
// The synthetic distributions weight the groups by 1 - w2 and w2; the
// near-zero adjustment scales every derivative by 1 / (n * 1e-8 + 1); the
// equipercentile step is differentiated along the branch it took.
#include "standard_errors/observed_score_gradients.hpp"

#include <vector>

#include "common/floating_point_mode.hpp"
#include "models/normalised_grid.hpp"
#include "models/parameter_derivatives.hpp"
#include "standard_errors/distribution_gradients.hpp"
#include "standard_errors/equipercentile_steps.hpp"
#include "standard_errors/equivalent_derivatives.hpp"

namespace irteq {

namespace {

GroupThetas unmoved(const QuadratureGrid& grid, double group_weight) {
  GroupThetas group;
  group.thetas = grid.points;
  for (const double weight : grid.weights) group.weights.push_back(group_weight * weight);
  return group;
}

// The factor of the near-zero adjustment where it applied, as adjust_zero_probabilities divides.
double adjustment_factor(const FormDistributions& form) {
  if (!form.synthetic_adjusted) return 1.0;
  return 1.0 / (static_cast<double>(form.synthetic.size()) * 1e-8 + 1.0);
}

}  // namespace

Gradients observed_score_gradients(const EquatingInput& input, double A, double B, const EquatingResult& result,
                                   const ParameterLayout& layout, int threads) {
  const FloatingPointMode mode;
  const QuadratureGrid group1 = normalised_grid(input.grid_group1);
  const QuadratureGrid group2 = normalised_grid(input.grid_group2);
  const double w2 = input.w2;
  const double w1 = 1.0 - w2;

  GroupThetas x_group2 = unmoved(group2, w2);
  for (double& theta : x_group2.thetas) {
    theta = (theta - B) / A;
    x_group2.dtheta_dA.push_back(-theta / A);
    x_group2.dtheta_dB.push_back(-1.0 / A);
  }
  GroupThetas y_group1 = unmoved(group1, w1);
  for (double& theta : y_group1.thetas) {
    y_group1.dtheta_dA.push_back(theta);
    y_group1.dtheta_dB.push_back(1.0);
    theta = A * theta + B;
  }
  const std::vector<GroupThetas> x_groups{unmoved(group1, w1), std::move(x_group2)};
  const std::vector<GroupThetas> y_groups{std::move(y_group1), unmoved(group2, w2)};
  const DistributionGradients dx = distribution_gradients(input.items_x, x_groups, threads);
  const DistributionGradients dy = distribution_gradients(input.items_y, y_groups, threads);

  const std::vector<EquipercentileStep> steps = equipercentile_steps(result.x.synthetic, result.y.synthetic);
  const double x_factor = adjustment_factor(result.x);
  const double y_factor = adjustment_factor(result.y);
  Gradients gradients(steps.size(), layout.columns());
  std::vector<double> scratch(dy.points);
  const std::span<const double> none;
  // The distributions' columns run item by item as the layout's do, from each form's first.
  std::size_t column = 0;
  for (std::size_t j = 0; j < input.items_x.size(); ++j) {
    for (std::size_t k = 0; k < estimated_parameter_count(input.items_x[j]); ++k, ++column) {
      equivalent_derivatives(steps, dx.column(column), x_factor, none, y_factor, scratch, gradients,
                             layout.x_offsets[j] + k);
    }
  }
  column = 0;
  for (std::size_t j = 0; j < input.items_y.size(); ++j) {
    for (std::size_t k = 0; k < estimated_parameter_count(input.items_y[j]); ++k, ++column) {
      equivalent_derivatives(steps, none, x_factor, dy.column(column), y_factor, scratch, gradients,
                             layout.y_offsets[j] + k);
    }
  }
  equivalent_derivatives(steps, dx.column(dx.columns - 2), x_factor, dy.column(dy.columns - 2), y_factor, scratch,
                         gradients, layout.a_column());
  equivalent_derivatives(steps, dx.column(dx.columns - 1), x_factor, dy.column(dy.columns - 1), y_factor, scratch,
                         gradients, layout.b_column());
  return gradients;
}

}  // namespace irteq
