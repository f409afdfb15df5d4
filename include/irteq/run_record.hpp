#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace irteq {

// One input file of a run, for its audit trail: which file, and which bytes.
// A file changed since the run has another size or SHA-256.
struct InputFileRecord {
  std::string role;  // what the run read it as: "control", or its control file keyword ("old_para", ..., "old_cov")
  std::string name;  // as the run opened it: the control file's as given, the others as the control file names
                     // them, resolved against its folder
  std::string path;  // absolute and canonical: no ".", ".." or symbolic link
  // Bytes and SHA-256 (64 lower-case hexadecimal digits) of its content; none
  // for a file that is not a regular file (a pipe), which cannot be read twice.
  std::optional<std::uintmax_t> size{};
  std::string sha256{};
};

// How a run came about, as run.csv and R's attr(result, "run") give it. Two
// runs of the same front end, options and input files differ in time alone.
struct RunRecord {
  std::string version;    // irteq's, irteq::version
  std::string time;       // when run() began: UTC, ISO 8601 to the second, "2025-01-31T09:05:00Z"
  std::string front_end;  // what ran it: "library" (run()'s own), the console program's command line, "R equate()"
  // Name and value, the front end's own first (batch mode's "strict"), then
  // run()'s: "threads", "root_tolerance", "delta_method", "draws", "seed"
  // ("true"/"false", numbers), and "standard_error_threads" when the
  // standard errors' threads differ.
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<InputFileRecord> files;  // the files the input was read from: none when it was built in memory
};

}  // namespace irteq
