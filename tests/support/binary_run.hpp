#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace irteq::testing {

// A fresh folder under the system's temporary directory, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

struct BinaryRun {
  int exit_status = -1;
  std::string console;  // standard output
  std::string errors;   // standard error
};

// Runs the real irteq binary in folder with console_input as its standard input.
BinaryRun run_irteq(const std::filesystem::path& folder, std::string_view console_input);

// What a batch run gets as standard input: nothing (closed), or a pipe that
// stays open and empty while it runs, as in a script whose input is a terminal
// or another program. A run that reads it never ends; the helper gives up
// after a minute and reports exit status -1.
enum class BatchInput { closed, open_pipe };

// Runs the real irteq binary in folder with these arguments.
BinaryRun run_irteq_batch(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                          BatchInput input = BatchInput::closed);

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, std::string_view content);

// Lines written the way the report writes them: each ends in CR LF.
std::string crlf(std::string_view lines_with_lf);

// A folder name as a test name: every character but letters and digits becomes '_'.
std::string test_name_of(std::string folder_name);

}  // namespace irteq::testing
