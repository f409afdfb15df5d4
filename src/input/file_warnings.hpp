#pragma once

#include <string>
#include <string_view>

#include "common/free_format_reader.hpp"
#include "irteq/files.hpp"

namespace irteq {

// A reader's warnings about one file: "FILE line N: what", the first few of
// them, then how many more there were, so that a file with a fault on every
// line does not bury the rest. In strict mode the first one is thrown as an
// Error instead.
class FileWarnings {
 public:
  FileWarnings(const ReadOptions& options, std::string file_name)
      : sink_(options.warning), strict_(options.strict), file_name_(std::move(file_name)) {}

  // where adds the item or row, when known, to the error of strict mode.
  void warn(int line, std::string_view what, Diagnostic where = {});
  // The count of warnings beyond the first few, once the file is read.
  void finish() const;

  // What the reader left on the line it just read: numbers after the values
  // of the read are ignored. When a comma stands between two digits on that
  // line the numbers were written with decimal commas: a syntax error.
  // note, when given, ends the warning: what likely caused the numbers left.
  void warn_of_numbers_left(const FreeFormatReader& reader, std::string_view read, Diagnostic where = {},
                            std::string_view note = {});
  // A title line of nothing but numbers is likely a first data line.
  void warn_of_numeric_title(std::string_view title);

  static constexpr int shown = 5;

 private:
  const LineSink& sink_;
  bool strict_;
  std::string file_name_;
  int count_ = 0;
};

}  // namespace irteq
