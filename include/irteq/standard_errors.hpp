#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/files.hpp"
#include "irteq/linking.hpp"
#include "irteq/result.hpp"

namespace irteq {

// Standard errors of the equivalents and the linking constants, from the
// sampling covariance of the item parameter estimates, by two routes:
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

// The covariance files that the control file's new_cov (form X) and old_cov
// (form Y) records name, read against the run's items. Throws Error when it
// names neither, or on a file that does not fit its form.
ParameterCovariances read_covariances(const ControlFile& files, const RunInput& run, const ReadOptions& options = {});

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

inline constexpr double not_computed = std::numeric_limits<double>::quiet_NaN();

// One equating method's equivalents on one metric, parallel to the result's
// x.raw_scores. A vector is empty when its route was not run.
struct PointStandardErrors {
  std::vector<double> delta;        // delta method
  std::vector<double> draws_sd;     // standard deviation of the draws (divisor R - 1)
  std::vector<double> draws_lower;  // their 2.5 % quantile (R's type 7)
  std::vector<double> draws_upper;  // their 97.5 % quantile
};

// The same for one linking constant; not_computed where a route was not run.
struct ConstantStandardErrors {
  double delta = not_computed;
  double draws_sd = not_computed;
  double draws_lower = not_computed;
  double draws_upper = not_computed;
};

struct LinkingStandardErrors {
  // Every method's delta-method standard errors, in LinkingMethod order;
  // not_computed for a method that is not available or when the delta
  // method was not run.
  std::array<double, 4> delta_A{not_computed, not_computed, not_computed, not_computed};
  std::array<double, 4> delta_B{not_computed, not_computed, not_computed, not_computed};
  // The applied method's constants by both routes.
  ConstantStandardErrors A;
  ConstantStandardErrors B;
};

struct StandardErrors {
  PointStandardErrors true_raw;  // true score equivalents, raw metric
  PointStandardErrors true_scale;
  PointStandardErrors observed_raw;
  PointStandardErrors observed_scale;
  std::optional<LinkingStandardErrors> linking;  // when the run links
  int draws = 0;     // draws that entered the statistics
  int redraws = 0;   // draws drawn again: an invalid item, a linking that failed or gave A <= 0
};

// The standard errors of a run's results. run is the run as read (form X on
// its own scale when it links); linking and result are what link() and
// equate() gave for it. Throws Error when a covariance does not fit its
// form, when neither form has one, when draws are asked for and a covariance
// is not positive semi-definite, or when a draw's equating fails.
StandardErrors standard_errors(const RunInput& run, const std::optional<LinkingResult>& linking,
                               const EquatingResult& result, const ParameterCovariances& covariances,
                               const StandardErrorOptions& options);

// When more than 10 % of the draws' attempts were drawn again, the warning
// the report, batch mode and R give ("parametric draws: 130 of 1130 drawn
// again (11.5 %); ..."); else empty.
std::string redraws_warning(const StandardErrors& errors);

// The report's standard-error section, after its results: the routes run
// and their inputs, the linking constants' standard errors, and one table per
// equating method and metric of every form X score point's standard errors.
void write_standard_errors_report(const StandardErrors& errors, const EquatingResult& result,
                                  const std::optional<LinkingResult>& linking,
                                  const ParameterCovariances& covariances, const StandardErrorOptions& options,
                                  const LineSink& line);

// write_csv's files (with the linking's when linked), every linking.csv row's
// se_A and se_B filled by the delta method when it ran, and beside them
// standard_errors.csv: raw,equating,metric,delta_se,draws_se,draws_lower,
// draws_upper, one row per equating method (true, observed), metric (raw,
// scale) and form X score point, a column empty when its route was not run.
void write_csv(const EquatingResult& result, const std::optional<LinkingResult>& linking,
               const StandardErrors& errors, const std::filesystem::path& folder);

}  // namespace irteq
