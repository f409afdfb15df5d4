#include "support/binary_run.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

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

BinaryRun run_irteq_batch(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                          BatchInput input) {
  TempDir io;
  const std::string out = (io / "stdout").string();
  const std::string err = (io / "stderr").string();
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) throw std::runtime_error("cannot make a pipe");
  std::vector<std::string> argv_text{IRTEQ_BINARY};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : argv_text) argv.push_back(text.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[1]);
    if (input == BatchInput::closed) {
      close(pipe_ends[0]);
      close(STDIN_FILENO);
    } else {
      dup2(pipe_ends[0], STDIN_FILENO);
    }
    const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out_fd < 0 || err_fd < 0 || chdir(folder.c_str()) != 0) _exit(127);
    dup2(out_fd, STDOUT_FILENO);
    dup2(err_fd, STDERR_FILENO);
    execv(IRTEQ_BINARY, argv.data());
    _exit(127);
  }
  close(pipe_ends[0]);  // the write end stays open until the run ends
  BinaryRun run;
  int status = 0;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > give_up) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      close(pipe_ends[1]);
      run.errors = "the run did not end: it waits for standard input";
      return run;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  close(pipe_ends[1]);
  run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.console = read_file(out);
  run.errors = read_file(err);
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
