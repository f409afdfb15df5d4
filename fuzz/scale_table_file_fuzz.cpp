// The raw-to-scale file reader on any file content: a table within its
// capacity, which equate() accepts when it has a row for each of form Y's
// score points, or an Error.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "small_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const irteq::EquatingInput valid = irteq::fuzzing::small_input();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  irteq::RawToScaleFile file;
  try {
    file = irteq::read_scale_table(in, "table.scl", irteq::fuzzing::dropped_output());
  } catch (const irteq::Error&) {
    return 0;
  }
  const std::size_t rows = file.table.scale.size();
  if (rows > static_cast<std::size_t>(irteq::max_score_points)) std::abort();
  if (file.table.raw.size() != rows || file.table.rounded.size() != rows) std::abort();
  // Whether the table is long enough depends on form Y; the small input's has two score points.
  if (rows < valid.scale_table.scale.size()) return 0;
  irteq::EquatingInput input = valid;
  input.scale_table = std::move(file.table);
  // In a file rows pair with score points by position: a raw column that says
  // otherwise draws a warning, and read_inputs hands it on empty.
  std::vector<double>& raw = input.scale_table.raw;
  if (!std::equal(valid.scale_table.raw.begin(), valid.scale_table.raw.end(), raw.begin())) raw.clear();
  input.w2 = file.w2;
  try {
    irteq::validate(input);
  } catch (const irteq::Error& error) {
    std::fprintf(stderr, "accepted a table that equate() refuses: %s\n", error.what());
    std::abort();
  }
  return 0;
}
