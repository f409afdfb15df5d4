// The control file reader on any file content, as the console run calls it:
// six file names, none of them the report's, or an Error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input_file.hpp"
#include "input/control_records.hpp"
#include "irteq/error.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static irteq::fuzzing::FuzzInputFile file("control");
  const std::string& name = file.write(data, size);
  try {
    const irteq::ControlFile files = irteq::read_control_records(name);
    for (const std::string* slot : {&files.output, &files.old_para, &files.old_quad, &files.raw2scale, &files.new_para,
                                    &files.new_quad}) {
      if (slot->empty()) std::abort();
    }
    irteq::check_report_is_not_an_input(files, name);
  } catch (const irteq::Error&) {
  }
  return 0;
}
