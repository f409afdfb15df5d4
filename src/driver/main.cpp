#include <iostream>

#include "driver/console.hpp"
#include "driver/run_dialogue.hpp"

int main() {
  irteq::Console console{std::cin, std::cout};
  return irteq::run_dialogue(console, std::cerr);
}
