#pragma once

#include "irteq/standard_errors.hpp"
#include "standard_errors/parametric_draws.hpp"

namespace irteq {

// The draws' statistics into out: each score point's draws_sd, draws_lower
// and draws_upper of the true and observed score equivalents, raw and
// scale; those of A and B in out.linking (made if absent) when the run
// links; and the counts of draws and redraws. Nothing is filled without draws.
void summarise_draws(const DrawnResults& drawn, StandardErrors& out);

}  // namespace irteq
