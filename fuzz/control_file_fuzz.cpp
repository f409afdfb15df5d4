// The control file reader on any file content: six file names, or a RunError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/run_error.hpp"
#include "driver/control_file.hpp"
#include "fuzz_input_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static irteq::fuzzing::FuzzInputFile file("control");
  try {
    const irteq::FileNames names = irteq::read_control_file(file.write(data, size));
    for (const std::string& name : names) {
      if (name.empty()) std::abort();
    }
  } catch (const irteq::RunError&) {
  }
  return 0;
}
