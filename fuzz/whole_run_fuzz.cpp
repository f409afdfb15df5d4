// A whole run in this process on a small valid case of mixed items, with one
// of its five input files replaced by the fuzz input (its first byte picks
// which). The run must end with status 0 and a complete report free of
// non-numbers in the results, or with status 1 and one message line; either
// after any warning lines. A run that succeeds must also succeed through the
// library, to the same results.
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "driver/console.hpp"
#include "driver/run_dialogue.hpp"
#include "fuzz_input_file.hpp"
#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"

#ifndef IRTEQ_WHOLE_RUN_CASE
#error "IRTEQ_WHOLE_RUN_CASE must name the folder of the seed case"
#endif

namespace {

// The control file stays fixed: the report always goes to report.txt here.
constexpr std::array<const char*, 5> input_files{"y.par", "g2.qd", "y.scl", "x.par", "g1.qd"};

struct CaseFolder {
  std::array<std::string, 5> originals;

  CaseFolder() {
    const std::string folder = irteq::fuzzing::fuzz_folder("run");
    std::filesystem::copy_file(std::filesystem::path(IRTEQ_WHOLE_RUN_CASE) / "control.txt", folder + "/control.txt");
    for (std::size_t f = 0; f < input_files.size(); ++f) {
      std::ifstream in(std::filesystem::path(IRTEQ_WHOLE_RUN_CASE) / input_files[f], std::ios::binary);
      originals[f].assign(std::istreambuf_iterator<char>(in), {});
    }
    if (chdir(folder.c_str()) != 0) std::abort();
  }
};

void write(const char* name, const char* data, std::size_t size) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(data, static_cast<std::streamsize>(size));
}

std::string read(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s\n%s\n", what, detail.c_str());
  std::abort();
}

// What the run wrote on its error stream after the warnings, which come first, a line each.
std::string after_warnings(const std::string& message) {
  std::size_t at = 0;
  while (message.compare(at, 16, "irteq: warning: ") == 0) {
    const std::size_t end = message.find('\n', at);
    if (end == std::string::npos) fail("a warning without its line end", message);
    at = end + 1;
  }
  return message.substr(at);
}

// The result sections as equate() and write_report() give them, in a report's CR LF lines.
std::string library_results() {
  std::string text;
  try {
    const irteq::EquatingResult result = irteq::equate(irteq::read_control_file("control.txt"));
    irteq::write_report(result, [&](std::string_view line) { text.append(line).append("\r\n"); });
  } catch (const irteq::Error& error) {
    fail("the console run succeeded but the library refused the case", error.what());
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const CaseFolder folder;
  if (size < 1) return 0;
  for (std::size_t f = 0; f < input_files.size(); ++f) {
    write(input_files[f], folder.originals[f].data(), folder.originals[f].size());
  }
  write(input_files[data[0] % input_files.size()], reinterpret_cast<const char*>(data) + 1, size - 1);

  std::istringstream typed("control.txt\n\n\n");
  std::ostringstream shown;
  std::ostringstream errors;
  irteq::Console console{typed, shown};
  const int status = irteq::run_dialogue(console, errors);
  const std::string message = after_warnings(errors.str());
  if (status == 1) {
    if (message.rfind("irteq: ", 0) != 0 || message.find('\n') != message.size() - 1) fail("bad message", errors.str());
    return 0;
  }
  if (status != 0 || !message.empty()) fail("status 0 with a message", errors.str());
  const std::string report = read("report.txt");
  // Headings are whole lines; a title echoed before them is padded to 79 columns.
  const std::size_t results_start = report.find("\r\ntrue score equating output\r\n");
  const std::size_t moments = report.find("\r\nraw score moments\r\n", results_start);
  if (results_start == std::string::npos || moments == std::string::npos ||
      report.find("\r\nrounded scale score moments\r\n", moments) == std::string::npos) {
    fail("status 0 with an incomplete report", report);
  }
  // Skewness and kurtosis of a one-point distribution are 0/0; the results
  // before them must be numbers. (The echoes before the results quote titles,
  // which may hold any text.)
  const std::string results = report.substr(results_start, moments - results_start);
  if (results.find("NaN") != std::string::npos || results.find("INF") != std::string::npos) {
    fail("status 0 with results that are not numbers", report);
  }
  // From the two empty lines before the first heading: the whole of what write_report gives.
  if (report.compare(results_start - 2, std::string::npos, library_results()) != 0) {
    fail("the library's results differ from the report's", report);
  }
  return 0;
}
