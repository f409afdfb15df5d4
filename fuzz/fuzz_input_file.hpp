#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace irteq::fuzzing {

// The control file reader opens its file by name, so each input is written to
// a file of this process's own in the system's temporary folder (shared memory
// when there is one) and read back from there.
class FuzzInputFile {
 public:
  explicit FuzzInputFile(const char* stem);
  ~FuzzInputFile();
  FuzzInputFile(const FuzzInputFile&) = delete;
  FuzzInputFile& operator=(const FuzzInputFile&) = delete;

  // Replaces the file's content; returns its name.
  const std::string& write(const std::uint8_t* data, std::size_t size);
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

// A folder of this process's own for whole runs, removed at exit.
std::string fuzz_folder(const char* stem);

}  // namespace irteq::fuzzing
