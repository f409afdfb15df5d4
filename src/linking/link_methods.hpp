#pragma once

#include "irteq/linking.hpp"

namespace irteq {

// Which of a linking's results to compute.
enum class LinkingScope {
  every_method,    // link(): every method's constants
  applied_method,  // a parametric draw's relinking: the applied method's constants alone (a
                   // characteristic-curve method's start needs the moment methods' too)
};

// The linking of forms by linking's pairs and method, from items and grids
// already checked (validate_items, validate_grid): the pairs resolved, the
// methods of the scope, the applied method's transformed form X items and
// group 1 grid. The applied constants are the same bits in either scope.
// Throws Error on pairs it cannot use, symmetric with a moment method, and
// an applied method that cannot be had.
LinkingResult link_methods(const EquatingInput& forms, const LinkingInput& linking, LinkingScope scope);

}  // namespace irteq
