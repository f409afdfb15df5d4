#include "common/open_input_file.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "irteq/error.hpp"

namespace irteq {

void open_input_file(std::ifstream& in, const std::string& file_name, const char* what) {
  errno = 0;
  std::error_code ignored;
  if (std::filesystem::is_directory(file_name, ignored)) {
    throw Error(std::string("cannot open ") + what + " " + file_name + ": Is a directory",
                {.code = ErrorCode::file_error, .source = file_name});
  }
  in.open(file_name, std::ios::in | std::ios::binary);
  if (!in) {
    const char* reason = errno != 0 ? std::strerror(errno) : "cannot be read";
    throw Error(std::string("cannot open ") + what + " " + file_name + ": " + reason,
                {.code = ErrorCode::file_error, .source = file_name});
  }
}

}  // namespace irteq
