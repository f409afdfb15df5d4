#pragma once

#include <string>

#include "common/free_format_reader.hpp"

namespace irteq {

// Reads a file's first line for its fixed-width title; a file without one ends the run.
std::string read_title_line(FreeFormatReader& reader);

}  // namespace irteq
