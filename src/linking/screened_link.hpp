#pragma once

#include "irteq/covariance.hpp"
#include "irteq/linking.hpp"

namespace irteq {

// link() from unchecked items and grids, with every pair's Wald test when
// covariances is given (already checked against the forms): the linking of
// run() and of both link()s.
LinkingResult screened_link(const EquatingInput& forms, const LinkingInput& linking,
                            const ParameterCovariances* covariances);

// The linking of the pairs a screening kept, unscreened: what the standard
// errors take as given. linking itself when nothing was flagged.
LinkingInput final_linking(const LinkingInput& linking, const LinkingResult& result);

}  // namespace irteq
