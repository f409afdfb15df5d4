// The free-format reader on any text, read by a script of integer, real and
// text fetches taken from the input's first bytes. A malformed value may end
// the read with an Error; nothing else may go wrong.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/free_format_reader.hpp"
#include "irteq/error.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t script_length = 8;
  if (size < script_length) return 0;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data) + script_length, size - script_length));
  irteq::FreeFormatReader reader(in, "fuzz.txt");
  try {
    // Each script byte picks a fetch; the script repeats until the input ends.
    for (std::size_t step = 0; step < 100000; ++step) {
      const std::uint8_t fetch = data[step % script_length];
      irteq::Got got = irteq::Got::value;
      int integer = 0;
      double real = 0.0;
      std::string text;
      switch (fetch % 5) {
        case 0: reader.begin_read(); break;
        case 1: got = reader.get_integer(integer); break;
        case 2: got = reader.get_real(real); break;
        case 3: got = reader.get_text(text); break;
        default: got = reader.read_line(text) ? irteq::Got::value : irteq::Got::end_of_file; break;
      }
      if (got == irteq::Got::end_of_file) break;
    }
  } catch (const irteq::Error&) {
  }
  return 0;
}
