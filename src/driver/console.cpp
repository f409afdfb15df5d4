#include "driver/console.hpp"

#include <limits>

#include "irteq/error.hpp"
#include "irteq/limits.hpp"

namespace irteq {

void Console::write_line(std::string_view text) {
  out << text << '\n';
  out.flush();
}

bool Console::read_line(std::string& line) {
  // Capped as the input files' lines are: input without line ends (a file
  // or /dev/zero given as standard input) ends the run in bounded memory.
  line.clear();
  bool any = false;
  char c = 0;
  while (in.get(c)) {
    any = true;
    if (c == '\n') break;
    if (line.size() == static_cast<std::size_t>(max_line_length)) {
      throw Error("the console line is longer than " + std::to_string(max_line_length) + " characters (1 MiB)",
                  {.code = ErrorCode::limit_exceeded});
    }
    line += c;
  }
  if (!any) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

void Console::pause() { in.ignore(std::numeric_limits<std::streamsize>::max(), '\n'); }

void Console::warn_and_pause(std::string_view text) {
  write_line(text);
  pause();
}

}  // namespace irteq
