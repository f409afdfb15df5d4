#pragma once

#include <optional>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/run.hpp"
#include "irteq/standard_errors.hpp"

namespace irteq {

// One draw's results, parallel to the result's x.raw_scores.
struct DrawnEquating {
  std::vector<double> true_raw;
  std::vector<double> true_scale;
  std::vector<double> observed_raw;
  std::vector<double> observed_scale;
  double A = 1.0;  // the draw's linking constants; 1 and 0 when the run does not link
  double B = 0.0;
};

struct DrawnResults {
  std::vector<DrawnEquating> draws;  // in draw order
  int redraws = 0;                   // draws drawn again before they could be used
  std::vector<InvalidDrawnItem> invalid_items;  // as StandardErrors' invalid_items
  bool linked = false;
};

// options.draws parametric draws of a run. Draw r takes the normals of
// NormalDraws(options.seed, r), form X's parameters first, then form Y's (a
// form without a covariance keeps its estimates); a draw with an item
// validate_items refuses, or, when the run links, whose linking by the
// applied method fails, is drawn again from the same stream, and each item
// the models refused in it is counted (invalid_items). Form X is drawn
// on its own scale and linked again; each draw is equated on one thread with
// root_tolerance (EquatingOptions'), its scale scores from its own
// equivalents. options.threads workers share the draws; every number is the
// same on any thread count, and so is a failure: the run fails at the first
// draw, in draw order, whose equating fails or by which more than 10 R draws
// in all had to be drawn again (its first problem quoted). options.progress is called from the calling thread.
// Throws Error when neither form has a covariance, a covariance is not
// positive semi-definite, on such a failure, or when progress returns false.
DrawnResults parametric_draws(const RunInput& run, const ParameterCovariances& covariances,
                              const StandardErrorOptions& options, double root_tolerance);

}  // namespace irteq
