// The cut-score file reader on any file content, and checked_cut_scores on
// what it accepts against a scale of 0 to 100: cuts within the limit, each
// on a line of its own after the title, one level more than cuts; then
// strictly increasing cuts within the scale whose levels performance_level
// finds, or an Error, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "irteq/tables.hpp"
#include "small_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  irteq::CutScores file;
  try {
    file = irteq::read_cut_scores(in, "cuts.txt", irteq::fuzzing::dropped_output());
  } catch (const irteq::Error&) {
    return 0;
  }
  const std::size_t count = file.cuts.size();
  if (count == 0 || count > static_cast<std::size_t>(irteq::max_score_points)) std::abort();
  if (file.levels.size() != count + 1 || file.lines.size() != count) std::abort();
  for (std::size_t k = 0; k < count; ++k) {
    if (file.lines[k] < 2 || (k > 0 && file.lines[k] <= file.lines[k - 1])) std::abort();
  }
  const irteq::ScaleTable scale{.scale_min = 0, .scale_max = 100, .raw = {}, .scale = {}, .rounded = {}};
  try {
    const irteq::CutScores checked = irteq::checked_cut_scores(file, scale);
    if (checked.levels != file.levels) std::abort();
    for (std::size_t k = 0; k < count; ++k) {
      const double cut = checked.cuts[k];
      if (!(cut >= 0.0 && cut <= 100.0) || (k > 0 && !(cut > checked.cuts[k - 1]))) std::abort();
      if (irteq::performance_level(checked.cuts, cut) != static_cast<int>(k) + 1) std::abort();
    }
  } catch (const irteq::Error&) {
  }
  return 0;
}
