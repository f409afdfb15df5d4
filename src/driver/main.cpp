// irteq's console program: the interactive dialogue without arguments, batch
// mode with a control file.
#include <iostream>
#include <string_view>
#include <vector>

#include "driver/command_line.hpp"
#include "driver/console.hpp"
#include "driver/run_batch.hpp"
#include "driver/run_dialogue.hpp"
#include "driver/run_with_report.hpp"
#include "irteq/version.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const irteq::CommandLine line = irteq::parse_command_line(arguments);
  switch (line.mode) {
    case irteq::CommandLine::Mode::dialogue: {
      irteq::Console console{std::cin, std::cout};
      return irteq::run_dialogue(console, std::cerr);
    }
    case irteq::CommandLine::Mode::batch:
      return irteq::run_batch(line, std::cerr);
    case irteq::CommandLine::Mode::help:
      std::cout << irteq::usage_text();
      return 0;
    case irteq::CommandLine::Mode::version:
      std::cout << "irteq " << irteq::version << '\n';
      return 0;
    case irteq::CommandLine::Mode::usage_error:
      std::cerr << irteq::error_line(line.problem) << "Try 'irteq --help' for more information.\n";
      return 2;
  }
  return 2;
}
