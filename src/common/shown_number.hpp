#pragma once

#include <string>

namespace irteq {

// A real as messages quote it: six significant digits, as a stream prints it (1.5, -4, 1e+20, inf).
std::string shown_number(double value);

}  // namespace irteq
