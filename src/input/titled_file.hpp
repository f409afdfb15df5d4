#pragma once

#include <istream>
#include <string>

#include "common/floating_point_mode.hpp"
#include "common/free_format_reader.hpp"
#include "input/echo.hpp"
#include "input/file_warnings.hpp"
#include "irteq/files.hpp"

namespace irteq {

// What each reader of an input file starts with: the floating-point mode that
// numbers are read in, the echo, the free-format reader, the file's warnings,
// and its first line, always the title. A file without one is an error; a
// title of nothing but numbers draws a warning.
struct TitledFile {
  TitledFile(std::istream& in, const std::string& name, const ReadOptions& options);
  // An empty line, then the title in 79 columns: the echo of the quadrature
  // and raw-to-scale files (the item file's first column is a digit).
  void echo_title() const;

  FloatingPointMode mode;
  Echo echo;
  FreeFormatReader reader;
  FileWarnings warnings;
  std::string title_line;
};

}  // namespace irteq
