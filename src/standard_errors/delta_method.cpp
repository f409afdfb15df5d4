// The delta method: se = sqrt(g' V g), g the gradient of a result with
// respect to every estimated parameter of both forms. With a linking, a
// result depends on form X's and form Y's parameters directly and through
// A and B, so its total gradient is g + g_A dA/d(eta) + g_B dB/d(eta).
// A scale score is a function of its raw equivalent alone: its standard
// error is the raw one times the conversion's slope there.
#include "standard_errors/delta_method.hpp"

#include <cmath>

#include "standard_errors/linking_constant_gradients.hpp"
#include "standard_errors/observed_score_gradients.hpp"
#include "standard_errors/scale_slopes.hpp"
#include "standard_errors/true_score_gradients.hpp"

namespace irteq {

namespace {

// Adds each row's A and B columns, through the constants' gradients, to the
// parameters' columns, and clears them.
void carry_through_constants(Gradients& gradients, const Gradients& constants, const ParameterLayout& layout) {
  const std::size_t parameters = layout.x_size + layout.y_size;
  for (std::size_t row = 0; row < gradients.rows; ++row) {
    const double by_a = gradients.at(row, layout.a_column());
    const double by_b = gradients.at(row, layout.b_column());
    for (std::size_t column = 0; column < parameters; ++column) {
      gradients.at(row, column) += by_a * constants.at(0, column) + by_b * constants.at(1, column);
    }
    gradients.at(row, layout.a_column()) = 0.0;
    gradients.at(row, layout.b_column()) = 0.0;
  }
}

std::vector<double> square_roots(std::vector<double> variances) {
  for (double& v : variances) v = std::sqrt(v);
  return variances;
}

std::vector<double> scaled(const std::vector<double>& standard_errors, const std::vector<double>& slopes) {
  std::vector<double> out(standard_errors.size());
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = standard_errors[i] * std::fabs(slopes[i]);
  return out;
}

}  // namespace

Gradients linking_delta_method(const EquatingInput& forms, const LinkingInput& request, LinkingResult& linking,
                               const ParameterLayout& layout, const BlockCovariance& covariance) {
  Gradients applied;
  for (MethodConstants& constants : linking.methods) {
    if (!constants.available()) continue;
    Gradients gradients = linking_constant_gradients(forms, request, constants, layout);
    const std::vector<double> variances = gradient_variances(gradients, covariance, 1);
    constants.se_A = std::sqrt(variances[0]);
    constants.se_B = std::sqrt(variances[1]);
    if (constants.method == linking.applied) applied = std::move(gradients);
  }
  return applied;
}

void delta_method(const RunInput& input, const ParameterCovariances& covariances, int threads, RunResult& result) {
  const EquatingInput& forms = input.equating;
  const ParameterLayout layout = parameter_layout(forms.items_x, forms.items_y);
  const BlockCovariance covariance = block_covariance(covariances, layout);
  const double A = result.linking ? result.linking->A : 1.0;
  const double B = result.linking ? result.linking->B : 0.0;
  const EquatingResult& equating = result.equating;

  Gradients true_score = true_score_gradients(forms, A, B, equating, layout);
  Gradients observed = observed_score_gradients(forms, A, B, equating, layout, threads);
  if (result.linking) {
    const Gradients applied = linking_delta_method(forms, *input.linking, *result.linking, layout, covariance);
    carry_through_constants(true_score, applied, layout);
    carry_through_constants(observed, applied, layout);
  }
  StandardErrors& out = *result.standard_errors;
  const std::vector<double> true_raw = square_roots(gradient_variances(true_score, covariance, threads));
  const std::vector<double> observed_raw = square_roots(gradient_variances(observed, covariance, threads));
  const std::vector<double>& y_raw = equating.y.raw_scores;
  out.true_scale.delta = scaled(true_raw, scale_slopes(equating.true_score.equivalents, y_raw, forms.scale_table));
  out.observed_scale.delta =
      scaled(observed_raw, scale_slopes(equating.observed_score.equivalents, y_raw, forms.scale_table));
  out.true_raw.delta = true_raw;
  out.observed_raw.delta = observed_raw;
}

}  // namespace irteq
