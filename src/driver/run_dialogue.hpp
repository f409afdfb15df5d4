#pragma once

#include <ostream>

#include "driver/console.hpp"

namespace irteq {

// The interactive run: asks for the control file's name on the console, reads
// and echoes both forms' inputs into the report (names relative to the
// current folder), equates form X to form Y, shows each root finder warning
// and waits for return, writes the results and waits for return. Returns the
// exit status: 0 on success, 1 when the run ended on an error, whose message
// goes to errors.
int run_dialogue(Console& console, std::ostream& errors);

}  // namespace irteq
