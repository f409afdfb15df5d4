#pragma once

#include <ostream>

#include "common/console.hpp"

namespace irteq {

// One whole run: asks for the control file's name on the console, reads and
// echoes both forms' inputs into the report, equates form X to form Y by true
// and observed score equating, writes the results and waits for return.
// Returns the exit status: 0 on success, 1 when the run ended on an error,
// whose message goes to errors.
int run_equating(Console& console, std::ostream& errors);

}  // namespace irteq
