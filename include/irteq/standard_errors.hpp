#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace irteq {

// Standard errors of the equivalents and the linking constants, from the
// sampling covariance of the item parameter estimates (run(), irteq/run.hpp),
// by two routes:
//  - the delta method: the gradient g of each result with respect to every
//    estimated parameter, differentiated analytically through what equate()
//    and link() compute, and se = sqrt(g' V g). It assumes the estimates are
//    near enough to normal and the results near enough to linear over their
//    spread; at a point where the computation switches branch (a knot of the
//    scale conversion, a score boundary of the equipercentile step) it takes
//    the one-sided derivative of the branch taken.
//  - parametric draws: each form's parameters drawn again and again from the
//    normal distribution with the estimates as means and the covariance
//    given, each draw linked (when the run links) and equated again; the
//    spread of the drawn results is their standard error.

struct StandardErrorOptions {
  bool delta_method = false;
  int draws = 0;           // parametric draws; 0 for none
  std::uint64_t seed = 1;  // the same seed gives the same draws on any machine and thread count
  int threads = 1;         // both routes run on this many threads; values below 1 count as 1
  // Called from the calling thread as draws complete, with the number done
  // and the total; may be empty. Returning false stops the run: an Error
  // with the code interrupted.
  std::function<bool(int done, int total)> progress{};
};

// One result's spread over the parametric draws: their standard deviation
// (divisor R - 1) and their 2.5 % and 97.5 % quantiles (R's type 7).
struct DrawSpread {
  double sd = 0.0;
  double lower = 0.0;
  double upper = 0.0;
};

// One equating method's equivalents on one metric, each vector parallel to
// the result's x.raw_scores; a route that was not run is absent.
struct PointStandardErrors {
  std::optional<std::vector<double>> delta;     // the delta method
  std::optional<std::vector<DrawSpread>> draws;  // the parametric draws
};

// An item whose drawn parameters the models could not use (an "L3" c
// outside [0, 1], graded thresholds out of order), and in how many of the
// draws' attempts.
struct InvalidDrawnItem {
  char form = 'X';  // 'X' or 'Y'
  int item = 0;     // position in its form, from 1
  int number = 0;   // as written
  std::string label{};
  int count = 0;
};

// Every linking method's delta-method standard errors are with its constants
// (MethodConstants::se_A, se_B).
struct StandardErrors {
  PointStandardErrors true_raw;  // true score equivalents, raw metric
  PointStandardErrors true_scale;
  PointStandardErrors observed_raw;
  PointStandardErrors observed_scale;
  std::optional<DrawSpread> A_draws;  // the applied linking constants over the draws, when the run links
  std::optional<DrawSpread> B_draws;
  int draws = 0;    // draws that entered the statistics
  int redraws = 0;  // draws drawn again: an invalid item, a linking that failed or gave A <= 0
  // Every item invalid in at least one attempt, most often first (ties: form
  // X before form Y, then by position); an attempt can hold several.
  std::vector<InvalidDrawnItem> invalid_items{};
};

// When more than 10 % of the draws' attempts were drawn again, the warning
// the report, batch mode and R give ("parametric draws: 130 of 1130 drawn
// again (11.5 %); invalid most often: form X item 3 (R05003) 120, form X
// item 7 85; ..."), naming at most five items; else empty.
std::string redraws_warning(const StandardErrors& errors);

}  // namespace irteq
