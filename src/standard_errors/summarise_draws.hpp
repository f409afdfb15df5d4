#pragma once

#include "irteq/standard_errors.hpp"
#include "standard_errors/parametric_draws.hpp"

namespace irteq {

// The draws' statistics into out: each score point's spread of the true and
// observed score equivalents, raw and scale; that of A and B when the run
// links; and the counts of draws and redraws. Nothing is filled without draws.
void summarise_draws(const DrawnResults& drawn, StandardErrors& out);

}  // namespace irteq
