// A run's standard errors by the routes asked for: the covariances checked
// against their forms, then the delta method, then the parametric draws.
#include "irteq/standard_errors.hpp"

#include <string>

#include "common/floating_point_mode.hpp"
#include "irteq/error.hpp"
#include "standard_errors/delta_method.hpp"
#include "standard_errors/parametric_draws.hpp"
#include "standard_errors/summarise_draws.hpp"

namespace irteq {

namespace {

void check_fits(const std::optional<Covariance>& covariance, const std::vector<Item>& items, const std::string& name,
                const char* form) {
  if (!covariance) return;
  const std::size_t size = covariance_size(items);
  if (covariance->size != size || covariance->values.size() != size * size) {
    throw Error(name + ": the covariance is " + std::to_string(covariance->size) + " x " +
                    std::to_string(covariance->size) + ", but form " + form + "'s items have " + std::to_string(size) +
                    " parameters without D",
                {.code = ErrorCode::invalid_input, .source = name});
  }
}

}  // namespace

StandardErrors standard_errors(const RunInput& run, const std::optional<LinkingResult>& linking,
                               const EquatingResult& result, const ParameterCovariances& covariances,
                               const StandardErrorOptions& options) {
  const FloatingPointMode mode;
  if (!covariances.x && !covariances.y) {
    throw Error("standard errors need the covariance of at least one form's estimates",
                {.code = ErrorCode::invalid_input});
  }
  if (run.linking.has_value() != linking.has_value()) {
    throw Error("standard errors need the run's linking together with its common items",
                {.code = ErrorCode::invalid_input});
  }
  check_fits(covariances.x, run.equating.items_x, covariances.x_name, "X");
  check_fits(covariances.y, run.equating.items_y, covariances.y_name, "Y");
  StandardErrors out;
  if (linking) out.linking.emplace();
  if (options.delta_method) delta_method(run, linking, result, covariances, options.threads, out);
  if (options.draws > 0) summarise_draws(parametric_draws(run, linking, covariances, options), out);
  return out;
}

}  // namespace irteq
