#include "driver/command_line.hpp"

#include <algorithm>
#include <charconv>
#include <thread>

namespace irteq {

int available_cores() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(std::min(cores, 1024u)) : 1;
}

namespace {

// A positive whole number of threads, written in decimal digits alone.
std::optional<int> thread_count(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.front() == '-' || error != std::errc{} || end != text.data() + text.size() || value < 1) {
    return std::nullopt;
  }
  return value;
}

CommandLine usage_error(std::string problem) {
  CommandLine line;
  line.mode = CommandLine::Mode::usage_error;
  line.problem = std::move(problem);
  return line;
}

}  // namespace

CommandLine parse_command_line(std::span<const std::string_view> arguments) {
  CommandLine line;
  if (arguments.empty()) return line;
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (!options_ended && argument == "--") {
      options_ended = true;
    } else if (!options_ended && (argument == "--help" || argument == "-h")) {
      line.mode = CommandLine::Mode::help;
      return line;
    } else if (!options_ended && argument == "--version") {
      line.mode = CommandLine::Mode::version;
      return line;
    } else if (!options_ended && argument == "--csv") {
      if (i + 1 == arguments.size()) return usage_error("the option --csv needs a folder");
      line.csv_folder = std::string(arguments[++i]);
    } else if (!options_ended && argument.starts_with("--csv=")) {
      line.csv_folder = std::string(argument.substr(6));
    } else if (!options_ended && (argument == "--threads" || argument.starts_with("--threads="))) {
      if (argument == "--threads" && i + 1 == arguments.size()) {
        return usage_error("the option --threads needs a number");
      }
      const std::string_view value = argument == "--threads" ? arguments[++i] : argument.substr(10);
      const std::optional<int> threads = thread_count(value);
      if (!threads) {
        return usage_error("the option --threads needs a positive whole number, not '" + std::string(value) + "'");
      }
      line.threads = *threads;
    } else if (!options_ended && argument == "--strict") {
      line.strict = true;
    } else if (!options_ended && argument.size() > 1 && argument.front() == '-') {
      return usage_error("unknown option " + std::string(argument));
    } else if (!line.control_file.empty()) {
      return usage_error("more than one control file: " + line.control_file + " and " + std::string(argument));
    } else {
      line.control_file = std::string(argument);
    }
  }
  if (line.csv_folder && line.csv_folder->empty()) return usage_error("the option --csv needs a folder");
  if (line.control_file.empty()) return usage_error("no control file was given");
  line.mode = CommandLine::Mode::batch;
  return line;
}

std::string usage_text() {
  return R"(Usage: irteq
       irteq CONTROL_FILE [--csv DIR] [--strict] [--threads T]
       irteq --help | --version

Equates a new test form X to an old form Y by IRT true score and observed
score equating, from the item parameters, ability distributions and form Y's
raw-to-scale table that the control file names, and writes the report the
control file names.

With no arguments, irteq asks for the control file's name on the console.
Names in the control file are relative to the current folder. Each root
finder warning, and the end of the run, wait for return.

With a control file, irteq runs in batch mode: it never reads standard input,
names in the control file are relative to the control file's own folder
(absolute names stay as they are), and warnings go to standard error, one
line each.

Options:
  --csv DIR   also write equivalents.csv, distributions.csv and moments.csv
              into DIR (created if absent; files replaced once complete); a
              run that fails removes them, so none is left from an earlier run
  --strict    make every warning about an input file an error (status 1, no
              results); the root finder's warnings stay warnings
  --threads T equate on T threads (default: the cores available, here )" +
         std::to_string(available_cores()) + R"();
              the results are the same to the last digit on any number
  --help      show this help and exit
  --version   show the version and exit

Exit status:
  0  the report is complete (with or without warnings)
  1  the run failed; the message on standard error names the file and line
  2  usage error

Documentation: docs/batch-mode.md (batch mode and the CSV files) and
docs/input-formats.md (the input files and every message) in irteq's sources.
)";
}

}  // namespace irteq
