#include "common/shown_number.hpp"

#include <sstream>

namespace irteq {

std::string shown_number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

}  // namespace irteq
