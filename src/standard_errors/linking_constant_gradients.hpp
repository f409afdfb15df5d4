#pragma once

#include "irteq/linking.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// d(A, B)/d(parameters) of one available method's constants: rows 0 (A) and
// 1 (B), columns as layout orders them (form X's estimated parameters on X's
// own scale, then form Y's; the A and B columns stay 0). layout is
// parameter_layout(forms.items_x, forms.items_y), items as read. Moment
// methods in closed form; Haebara and Stocking-Lord (symmetric as
// linking.symmetric) by the implicit function of the criterion's minimum.
Gradients linking_constant_gradients(const EquatingInput& forms, const LinkingInput& linking,
                                     const MethodConstants& constants, const ParameterLayout& layout);

}  // namespace irteq
