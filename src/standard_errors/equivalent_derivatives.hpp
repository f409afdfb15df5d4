#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "standard_errors/equipercentile_steps.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// The derivatives of the observed score equivalents in one parameter, into
// column `column` of gradients (one row per step), from that parameter's
// derivatives of form X's and form Y's synthetic distributions before the
// near-zero adjustment, dx and dy (either may be empty: no dependence),
// times the adjustment's factors 1 / (n * 1e-8 + 1), or 1 where it did not
// apply. The one-sided derivative of the branch each step took:
//   de = (drank - dF_Y(j - 1)) / width - (rank - lower) df_Y(j) / width^2.
// scratch holds form Y's score points.
void equivalent_derivatives(std::span<const EquipercentileStep> steps, std::span<const double> dx, double x_factor,
                            std::span<const double> dy, double y_factor, std::span<double> scratch,
                            Gradients& gradients, std::size_t column);

}  // namespace irteq
