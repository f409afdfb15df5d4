// The quadrature file reader on any file content: a grid of finite points and
// weights within the limits, which equate() accepts, or an Error.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>

#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "small_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const irteq::EquatingInput valid = irteq::fuzzing::small_input();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  irteq::QuadratureGrid grid;
  try {
    grid = irteq::read_grid(in, "grid.qd", irteq::fuzzing::dropped_output());
  } catch (const irteq::Error&) {
    return 0;
  }
  const std::size_t count = grid.points.size();
  if (count < 1 || count > static_cast<std::size_t>(irteq::max_quadrature_points)) std::abort();
  if (grid.weights.size() != count) std::abort();
  for (std::size_t j = 0; j < count; ++j) {
    if (!std::isfinite(grid.points[j]) || !std::isfinite(grid.weights[j])) std::abort();
  }
  irteq::EquatingInput input = valid;
  input.grid_group1 = std::move(grid);
  try {
    irteq::validate(input);
  } catch (const irteq::Error& error) {
    std::fprintf(stderr, "accepted a grid that equate() refuses: %s\n", error.what());
    std::abort();
  }
  return 0;
}
