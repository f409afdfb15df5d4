#pragma once

#include <optional>
#include <span>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/linking.hpp"
#include "linking/common_item_pairs.hpp"

namespace irteq {

// Lord's (1980) Wald test of one common item's drift.
struct WaldTest {
  double chi_square = 0.0;
  int df = 0;
  double p = 1.0;
};

// Per pair, with linked_x form X's items transformed by A and B:
//   chi_square = Delta' (Sigma_Y + J Sigma_X J')^-1 Delta,
// Delta the form Y estimates minus the linked form X ones, Sigma_X and
// Sigma_Y the items' blocks of their forms' covariances (a form without one
// is known: zero), J the transformation's Jacobian with A and B held fixed
// (1/A for slopes, A for locations and deviations, 1 for asymptotes, and
// for a nominal intercept 1 and -B/A on its slope). Parameters whose
// variance in Sigma is 0 (fixed in both forms) are left out; df is how many
// are left, p the chi-square upper tail. None for a pair with none left.
// Throws Error naming the pair when Sigma is singular.
std::vector<std::optional<WaldTest>> wald_tests(const EquatingInput& forms, std::span<const Item> linked_x,
                                                std::span<const CommonItemPositions> common,
                                                const LinkingInput& linking, const ParameterCovariances& covariances,
                                                double A, double B);

}  // namespace irteq
