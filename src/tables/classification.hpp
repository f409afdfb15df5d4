#pragma once

#include <span>
#include <vector>

#include "irteq/tables.hpp"
#include "tables/conditional_rows.hpp"

namespace irteq {

// Classification accuracy and consistency of one form's reported scores in
// one group (Lee, 2010): the overall row, then one row per cut. At each
// theta_q, P(k | theta_q) is the conditional probability of the scores in
// level k, divided by the row's total, and the true level is the level of
// the expected reported score sum_x L_x(theta_q) s_x. Every sum over theta
// is divided by the weights' sum, so a certain classification is exactly 1.
std::vector<ClassificationRow> classification_rows(TableForm form, int group, TableEquating equating,
                                                   const ConditionalRows& rows, std::span<const double> weights,
                                                   std::span<const double> reported, const std::vector<double>& cuts);

}  // namespace irteq
