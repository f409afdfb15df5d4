#include <iostream>

#include "common/console.hpp"
#include "driver/run_equating.hpp"

int main() {
  irteq::Console console{std::cin, std::cout};
  return irteq::run_equating(console, std::cerr);
}
