#include "driver/console.hpp"

namespace irteq {

void Console::write_line(std::string_view text) {
  out << text << '\n';
  out.flush();
}

bool Console::read_line(std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

void Console::pause() {
  std::string ignored;
  read_line(ignored);
}

void Console::warn_and_pause(std::string_view text) {
  write_line(text);
  pause();
}

}  // namespace irteq
