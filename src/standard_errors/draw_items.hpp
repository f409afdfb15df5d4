#pragma once

#include <vector>

#include "irteq/input.hpp"
#include "standard_errors/draw_factor.hpp"
#include "standard_errors/normal_draws.hpp"

namespace irteq {

// One draw of a form's items: the estimates plus L z, z the stream's next
// factor.size normals (one per covariance row, in row order), L the
// factor's blocks; a row the factor draws on the logit scale takes
// 1 / (1 + exp(-(logit(estimate) + (L z)))). drawn takes the estimates' shape on the first call and
// is reused after; normals holds z.
void draw_items(const std::vector<Item>& estimates, const DrawFactor& factor, NormalDraws& stream,
                std::vector<double>& normals, std::vector<Item>& drawn);

}  // namespace irteq
