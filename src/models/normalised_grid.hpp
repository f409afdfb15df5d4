#pragma once

#include "irteq/input.hpp"

namespace irteq {

// The grid with its weights divided by their sum, added in grid order from 0.
QuadratureGrid normalised_grid(const QuadratureGrid& grid);

}  // namespace irteq
