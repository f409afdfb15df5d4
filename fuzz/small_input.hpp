#pragma once

#include "irteq/files.hpp"
#include "irteq/input.hpp"

namespace irteq::fuzzing {

// A valid input at its smallest: one "L3" item a form, one-point grids and a
// two-row scale table. A reader's output swapped in for one part lets
// validate() judge that part alone.
EquatingInput small_input();

// Echo and warnings taken and dropped, so that the readers still format them.
ReadOptions dropped_output();

}  // namespace irteq::fuzzing
