#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "irteq/input.hpp"
#include "irteq/result.hpp"

namespace irteq {

// IRT true score equating of form X to form Y: for each form X score point,
// the theta at which form X's test characteristic function equals it (-99 at
// the lowest point and in the linear region below the chance score, 99 at
// the top point) and form Y's true score at that theta. scores_x and scores_y
// are the forms' raw score points; root_tolerance is EquatingOptions'. Fills
// thetas, theta_kinds and equivalents of result, one entry per form X point,
// and adds a warning for each search that failed.
void true_score_equivalents(std::span<const Item> items_y, std::span<const Item> items_x,
                            std::span<const double> scores_x, std::span<const double> scores_y,
                            double root_tolerance, TrueScoreEquating& result,
                            std::vector<RootFinderWarning>& warnings);

// The same in two parts that may run apart: first the thetas (one search
// after another, each starting at the last one's theta), with the equivalents
// of the points not searched (chance_y is form Y's chance_score); then form
// Y's true scores at the searched thetas, for the points begin .. end - 1 of
// result, which may be filled range by range in any order. settled, when
// given, is called with n whenever the first n points have their final theta
// and kind (after the setup, after each search, and with every point at the end),
// so that their true scores may start while the searches go on.
void true_score_thetas(std::span<const Item> items_x, std::span<const double> scores_x,
                       std::span<const double> scores_y, double chance_y, double root_tolerance,
                       TrueScoreEquating& result, std::vector<RootFinderWarning>& warnings,
                       const std::function<void(std::size_t)>& settled = {});
void searched_equivalents(std::span<const Item> items_y, TrueScoreEquating& result, std::size_t begin,
                          std::size_t end);

// Sum over the form's "L3" items of (u(2) - u(1)) * c: the expected score above
// the lowest that guessing alone gives.
double chance_score(std::span<const Item> items);

}  // namespace irteq
