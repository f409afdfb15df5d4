#include "input/read_title.hpp"

namespace irteq {

std::string read_title_line(FreeFormatReader& reader) {
  std::string line;
  if (!reader.read_line(line)) reader.fail("end of file where the title line was expected");
  return line;
}

}  // namespace irteq
