#include "driver/command_line.hpp"

#include <algorithm>
#include <charconv>
#include <thread>

#include "irteq/error.hpp"
#include "irteq/validate.hpp"

namespace irteq {

int available_cores() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(std::min(cores, 1024u)) : 1;
}

namespace {

// A whole number of at least lowest, written in decimal digits alone.
template <typename Number>
std::optional<Number> whole_number(std::string_view text, Number lowest) {
  Number value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.front() == '-' || error != std::errc{} || end != text.data() + text.size() ||
      value < lowest) {
    return std::nullopt;
  }
  return value;
}

// "--draws" of "--draws" and of "--draws=10".
std::string_view option_name(std::string_view argument) {
  return argument.substr(0, std::min(argument.find('='), argument.size()));
}

// A real number as C writes it; whether it will do is the library's to say.
std::optional<double> real_number(std::string_view text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool is_numeric_option(std::string_view name) {
  return name == "--threads" || name == "--draws" || name == "--seed" || name == "--root-tolerance";
}

CommandLine usage_error(std::string problem) {
  CommandLine line;
  line.mode = CommandLine::Mode::usage_error;
  line.problem = std::move(problem);
  return line;
}

// The argument as a shell reads it back: as it is, or in single quotes.
std::string shell_word(std::string_view argument) {
  constexpr std::string_view plain = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-+=.,/:@%";
  if (!argument.empty() && argument.find_first_not_of(plain) == std::string_view::npos) return std::string(argument);
  std::string word = "'";
  for (const char c : argument) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
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
    } else if (const std::string_view name = option_name(argument); !options_ended && is_numeric_option(name)) {
      if (name == argument && i + 1 == arguments.size()) {
        return usage_error("the option " + std::string(name) + " needs a number");
      }
      const std::string_view value = name == argument ? arguments[++i] : argument.substr(name.size() + 1);
      const auto fail = [&](const char* what) {
        return usage_error("the option " + std::string(name) + " needs " + what + ", not '" + std::string(value) + "'");
      };
      if (name == "--root-tolerance") {
        const std::optional<double> tolerance = real_number(value);
        if (!tolerance) return fail("a number");
        try {
          validate_root_tolerance(*tolerance);
        } catch (const Error& error) {
          return usage_error("the option --root-tolerance: " + std::string(error.what()));
        }
        line.root_tolerance = *tolerance;
      } else if (name == "--seed") {
        const std::optional<std::uint64_t> seed = whole_number<std::uint64_t>(value, 0);
        if (!seed) return fail("a whole number of at least 0");
        line.seed = *seed;
      } else {
        const std::optional<int> number = whole_number<int>(value, 1);
        if (!number) return fail("a positive whole number");
        (name == "--threads" ? line.threads : line.draws) = *number;
      }
    } else if (!options_ended && argument == "--se") {
      line.delta_method = true;
    } else if (!options_ended && argument == "--tables") {
      line.tables = true;
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
  line.command = "irteq";
  for (const std::string_view argument : arguments) line.command += " " + shell_word(argument);
  return line;
}

std::string usage_text() {
  return R"(Usage: irteq
       irteq CONTROL_FILE [--csv DIR] [--strict] [--threads T]
                          [--se] [--draws N] [--seed S] [--root-tolerance E]
                          [--tables]
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
              (and the linking's and standard errors' files when the run has
              them), and run.csv, the run's record of its input files, into
              DIR (created if absent; files replaced once complete); a run
              that fails removes them, so none is left from an earlier run
  --strict    make every warning about an input file an error (status 1, no
              results); the root finder's warnings stay warnings
  --threads T equate (and draw) on T threads (default: the cores available,
              here )" + std::to_string(available_cores()) + R"(); the same results to the last digit on any number
  --se        standard errors by the delta method, from the covariance
              files the control file names (new_cov, old_cov)
  --draws N   standard errors and 95 % intervals from N parametric draws of
              the item parameters, each linked and equated again
  --seed S    the draws' seed (default 1): the same seed, the same draws
  --root-tolerance E
              find true score equating's thetas to within E, above 0 and at
              most the default 1e-06 (the report's, within about 1e-6);
              1e-14 brings the true score equivalents to within about
              1e-12 of the exact ones
  --tables    add a technical report's tables: the conversion, summed-score
              EAPs, conditional standard errors of measurement and
              reliabilities, and with a cut_scores record (which asks for
              them too) performance levels and classification accuracy and
              consistency
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
