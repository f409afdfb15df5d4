#pragma once

#include <span>

#include "irteq/linking.hpp"
#include "linking/common_item_pairs.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// The derivatives of the Haebara or Stocking-Lord criterion's gradient in
// (A, B) with respect to the parameters, at (A, B): row 0 d(dF/dA), row 1
// d(dF/dB), columns as layout orders them (the A and B columns stay 0). The
// criterion is the one link() minimises, symmetric when linking.symmetric,
// over the common items of forms as read ("MU" as "MU") and normalised grids.
Gradients criterion_gradient_derivatives(LinkingMethod method, const EquatingInput& forms, const LinkingInput& linking,
                                         std::span<const CommonItemPositions> common, const ParameterLayout& layout,
                                         double A, double B);

}  // namespace irteq
