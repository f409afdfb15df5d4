#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace irteq {

// The console of a run: messages out, lines in. The driver passes the real
// standard streams; tests pass string streams.
struct Console {
  std::istream& in;
  std::ostream& out;

  void write_line(std::string_view text);
  // Reads one line; false at end of input. A line beyond max_line_length
  // throws Error.
  bool read_line(std::string& line);
  // Waits for the user to press return; end of input counts as return.
  void pause();
  // A line followed by a pause, as for the root finder's warnings.
  void warn_and_pause(std::string_view text);
};

}  // namespace irteq
