#include "support/binary_run.hpp"

#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace irteq::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "irteq-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void write_file(const std::filesystem::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

namespace {

std::string quoted(const std::filesystem::path& path) {
  std::string text = "'";
  for (const char c : path.string()) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

}  // namespace

BinaryRun run_irteq(const std::filesystem::path& folder, std::string_view console_input) {
  TempDir io;
  write_file(io / "stdin", console_input);
  const std::string command = "cd " + quoted(folder) + " && " + quoted(IRTEQ_BINARY) + " < " + quoted(io / "stdin") +
                              " > " + quoted(io / "stdout") + " 2> " + quoted(io / "stderr");
  const int status = std::system(command.c_str());
  BinaryRun run;
  run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.console = read_file(io / "stdout");
  run.errors = read_file(io / "stderr");
  return run;
}

std::string crlf(std::string_view lines_with_lf) {
  std::string text;
  for (const char c : lines_with_lf) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

std::string test_name_of(std::string folder_name) {
  for (char& c : folder_name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return folder_name;
}

}  // namespace irteq::testing
