// A run's standard errors by the routes asked for: the delta method, then
// the parametric draws.
#include "standard_errors/standard_errors.hpp"

#include "common/floating_point_mode.hpp"
#include "irteq/error.hpp"
#include "irteq/validate.hpp"
#include "linking/screened_link.hpp"
#include "models/check_items.hpp"
#include "standard_errors/covariance_quadratic_form.hpp"
#include "standard_errors/delta_method.hpp"
#include "standard_errors/parametric_draws.hpp"
#include "standard_errors/summarise_draws.hpp"

namespace irteq {

void check_covariances(const EquatingInput& forms, const ParameterCovariances& covariances, bool needed) {
  if (needed && !covariances.x && !covariances.y) {
    throw Error("standard errors need the covariance of at least one form's estimates",
                {.code = ErrorCode::invalid_input});
  }
  // A covariance's size comes from its form's items: they are checked first.
  if (covariances.x) {
    check_items(forms.items_x, forms.names.items_x, InputPart::items_x);
    validate_covariance(*covariances.x, forms.items_x, covariances.x_name);
  }
  if (covariances.y) {
    check_items(forms.items_y, forms.names.items_y, InputPart::items_y);
    validate_covariance(*covariances.y, forms.items_y, covariances.y_name);
  }
}

ParameterCovariances probability_metric(const ParameterCovariances& covariances, const EquatingInput& forms) {
  ParameterCovariances out;
  out.x_name = covariances.x_name;
  out.y_name = covariances.y_name;
  if (covariances.x) out.x = probability_metric(*covariances.x, forms.items_x);
  if (covariances.y) out.y = probability_metric(*covariances.y, forms.items_y);
  return out;
}

void add_standard_errors(const RunInput& input, const RunOptions& options, RunResult& result) {
  const FloatingPointMode mode;
  const StandardErrorOptions& errors = options.standard_errors;
  const ParameterCovariances& covariances = options.covariances;
  result.standard_errors.emplace();
  // The delta method differentiates at the thetas result holds, found to the run's root tolerance.
  if (errors.delta_method) {
    delta_method(input, probability_metric(covariances, input.equating), errors.threads, result);
  }
  if (errors.draws > 0) {
    summarise_draws(parametric_draws(input, covariances, errors, options.equating.root_tolerance),
                    *result.standard_errors);
  }
}

LinkingResult link(const EquatingInput& forms, const LinkingInput& linking, const ParameterCovariances& covariances) {
  check_covariances(forms, covariances, true);
  const ParameterCovariances probability = probability_metric(covariances, forms);
  LinkingResult result = screened_link(forms, linking, &probability);
  const FloatingPointMode mode;
  const ParameterLayout layout = parameter_layout(forms.items_x, forms.items_y);
  linking_delta_method(forms, final_linking(linking, result), result, layout, block_covariance(probability, layout));
  return result;
}

}  // namespace irteq
