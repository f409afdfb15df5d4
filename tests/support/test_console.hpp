#pragma once

// A console whose input is a fixed script, so pauses never block, and whose
// output can be inspected.
#include <iterator>
#include <sstream>
#include <string>

#include "driver/console.hpp"

namespace irteq::testing {

struct TestConsole {
  explicit TestConsole(const std::string& input = "") : in(input) {}
  std::istringstream in;
  std::ostringstream out;
  Console console{in, out};

  // The input that no pause has consumed.
  std::string unread() { return {std::istreambuf_iterator<char>(in.rdbuf()), std::istreambuf_iterator<char>()}; }
};

}  // namespace irteq::testing
