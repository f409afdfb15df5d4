#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace irteq {

// What the command line asks for. No arguments: the interactive dialogue.
struct CommandLine {
  enum class Mode { dialogue, batch, help, version, usage_error };
  Mode mode = Mode::dialogue;
  std::string control_file;                // batch
  std::optional<std::string> csv_folder;  // batch, --csv DIR
  bool strict = false;                     // batch, --strict: input warnings are errors
  std::string problem;                     // usage_error: what was wrong
};

// Parses the arguments after the program's name:
//   CONTROL_FILE [--csv DIR] [--strict]   (also --csv=DIR; "--" ends the options)
//   --help | --version
CommandLine parse_command_line(std::span<const std::string_view> arguments);

// The text --help prints.
std::string usage_text();

}  // namespace irteq
