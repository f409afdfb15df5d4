// The delta method: se = sqrt(g' V g), g the gradient of a result with
// respect to every estimated parameter of both forms. With a linking, a
// result depends on form X's and form Y's parameters directly and through
// A and B, so its total gradient is g + g_A dA/d(eta) + g_B dB/d(eta).
// A scale score is a function of its raw equivalent alone: its standard
// error is the raw one times the conversion's slope there.
#include "standard_errors/delta_method.hpp"

#include <cmath>

#include "standard_errors/covariance_quadratic_form.hpp"
#include "standard_errors/gradients.hpp"
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

void delta_method(const RunInput& run, const std::optional<LinkingResult>& linking, const EquatingResult& result,
                  const ParameterCovariances& covariances, int threads, StandardErrors& out) {
  const EquatingInput& input = run.equating;
  const ParameterLayout layout = parameter_layout(input.items_x, input.items_y);
  const BlockCovariance covariance = block_covariance(covariances, layout);
  const double A = linking ? linking->A : 1.0;
  const double B = linking ? linking->B : 0.0;

  Gradients applied;
  if (linking) {
    for (std::size_t m = 0; m < linking->methods.size(); ++m) {
      const MethodConstants& constants = linking->methods[m];
      if (!constants.available) continue;
      Gradients gradients = linking_constant_gradients(*run.linking, constants, layout);
      const std::vector<double> variances = gradient_variances(gradients, covariance, 1);
      out.linking->delta_A[m] = std::sqrt(variances[0]);
      out.linking->delta_B[m] = std::sqrt(variances[1]);
      if (constants.method == linking->applied) {
        out.linking->A.delta = out.linking->delta_A[m];
        out.linking->B.delta = out.linking->delta_B[m];
        applied = std::move(gradients);
      }
    }
  }

  Gradients true_score = true_score_gradients(input, A, B, result, layout);
  Gradients observed = observed_score_gradients(input, A, B, result, layout, threads);
  if (linking) {
    carry_through_constants(true_score, applied, layout);
    carry_through_constants(observed, applied, layout);
  }
  out.true_raw.delta = square_roots(gradient_variances(true_score, covariance, threads));
  out.observed_raw.delta = square_roots(gradient_variances(observed, covariance, threads));
  const std::vector<double>& y_raw = result.y.raw_scores;
  out.true_scale.delta =
      scaled(out.true_raw.delta, scale_slopes(result.true_score.equivalents, y_raw, input.scale_table));
  out.observed_scale.delta =
      scaled(out.observed_raw.delta, scale_slopes(result.observed_score.equivalents, y_raw, input.scale_table));
}

}  // namespace irteq
