#pragma once

#include <string>
#include <string_view>

#include "common/free_format_reader.hpp"
#include "irteq/files.hpp"

namespace irteq {

// A reader's warnings about one file: "FILE line N: what", the first few of
// them, then how many more there were, so that a file with a fault on every
// line does not bury the rest.
class FileWarnings {
 public:
  FileWarnings(const LineSink& sink, std::string file_name) : sink_(sink), file_name_(std::move(file_name)) {}

  void warn(int line, std::string_view what);
  // The count of warnings beyond the first few, once the file is read.
  void finish() const;

  // What the reader left on the line it just read: numbers after the values
  // of the read are ignored, likely written with decimal commas.
  void warn_of_numbers_left(const FreeFormatReader& reader, std::string_view read);
  // A title line of nothing but numbers is likely a first data line.
  void warn_of_numeric_title(std::string_view title);

  static constexpr int shown = 5;

 private:
  const LineSink& sink_;
  std::string file_name_;
  int count_ = 0;
};

}  // namespace irteq
