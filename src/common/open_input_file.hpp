#pragma once

#include <fstream>
#include <string>

namespace irteq {

// Opens an existing input file; a failure ends the run naming the file and the system's reason.
void open_input_file(std::ifstream& in, const std::string& file_name, const char* what);

}  // namespace irteq
