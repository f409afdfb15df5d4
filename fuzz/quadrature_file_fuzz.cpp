// The quadrature file reader on any file content: a grid whose weights sum to
// 1 within rounding, or a RunError.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/quadrature_grid.hpp"
#include "common/report_file.hpp"
#include "common/run_error.hpp"
#include "fuzz_input_file.hpp"
#include "input/read_quadrature_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static irteq::fuzzing::FuzzInputFile file("grid");
  irteq::QuadratureGrid grid;
  irteq::ReportFile report("/dev/null");
  try {
    irteq::read_quadrature_file(file.write(data, size), report, grid);
  } catch (const irteq::RunError&) {
    return 0;
  }
  if (grid.count < 1 || grid.count > irteq::max_quadrature_points) std::abort();
  for (int j = 0; j < grid.count; ++j) {
    if (!std::isfinite(grid.points[static_cast<std::size_t>(j)])) std::abort();
    if (!std::isfinite(grid.weights[static_cast<std::size_t>(j)])) std::abort();
  }
  return 0;
}
