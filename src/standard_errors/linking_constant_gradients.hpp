#pragma once

#include "irteq/linking.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// d(A, B)/d(parameters) of one method's constants: rows 0 (A) and 1 (B),
// columns as layout orders them (form X's estimated parameters on X's own
// scale, then form Y's; the A and B columns stay 0). layout is
// parameter_layout(input.items_x, input.items_y), items as read. Moment
// methods in closed form; Haebara and Stocking-Lord (symmetric as
// input.symmetric) by the implicit function of the criterion's minimum. A
// method that is not available gives not-a-number in every parameter column.
Gradients linking_constant_gradients(const LinkingInput& input, const MethodConstants& constants,
                                     const ParameterLayout& layout);

}  // namespace irteq
