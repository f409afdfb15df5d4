#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "irteq/equate.hpp"

namespace irteq {

// The cores this machine offers (at least 1): the console program's threads
// unless --threads says otherwise.
int available_cores();

// What the command line asks for. No arguments: the interactive dialogue.
struct CommandLine {
  enum class Mode { dialogue, batch, help, version, usage_error };
  Mode mode = Mode::dialogue;
  std::string control_file;                // batch
  std::optional<std::string> csv_folder;  // batch, --csv DIR
  bool strict = false;                     // batch, --strict: input warnings are errors
  int threads = available_cores();         // batch, --threads T: threads of the equating and the draws
  bool delta_method = false;               // batch, --se: delta-method standard errors
  bool tables = false;                     // batch, --tables: the technical report's tables
  int draws = 0;                           // batch, --draws N: parametric draws (0: none)
  std::uint64_t seed = 1;                  // batch, --seed S: the draws' seed
  double root_tolerance = default_root_tolerance;  // batch, --root-tolerance E: true score equating's roots
  std::string problem;                     // usage_error: what was wrong
  std::string command;                     // batch: "irteq" and the arguments, quoted as a POSIX shell reads them
};

// Parses the arguments after the program's name:
//   CONTROL_FILE [--csv DIR] [--strict] [--threads T] [--se] [--draws N] [--seed S]
//                [--root-tolerance E] [--tables]
//   (also --csv=DIR, --threads=T, --draws=N, --seed=S, --root-tolerance=E; "--" ends the options)
//   --help | --version
CommandLine parse_command_line(std::span<const std::string_view> arguments);

// The text --help prints.
std::string usage_text();

}  // namespace irteq
