#include "fuzz_input_file.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace irteq::fuzzing {

namespace {

std::filesystem::path scratch_root() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

std::string unique_name(const char* stem) {
  return (scratch_root() / (std::string("irteq-fuzz-") + stem + "-" + std::to_string(getpid()))).string();
}

}  // namespace

FuzzInputFile::FuzzInputFile(const char* stem) : name_(unique_name(stem)) {}

FuzzInputFile::~FuzzInputFile() { std::remove(name_.c_str()); }

const std::string& FuzzInputFile::write(const std::uint8_t* data, std::size_t size) {
  std::ofstream out(name_, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) {
    std::perror(name_.c_str());
    std::abort();
  }
  return name_;
}

std::string fuzz_folder(const char* stem) {
  const std::string folder = unique_name(stem);
  std::filesystem::create_directories(folder);
  static std::string to_remove;
  to_remove = folder;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(to_remove, ignored);
  });
  return folder;
}

}  // namespace irteq::fuzzing
