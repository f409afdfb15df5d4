// The raw-to-scale file reader on any file content: a table within its
// capacity, or a RunError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "common/report_file.hpp"
#include "common/run_error.hpp"
#include "common/scale_table.hpp"
#include "fuzz_input_file.hpp"
#include "input/read_scale_table_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static irteq::fuzzing::FuzzInputFile file("table");
  static const auto table = std::make_unique<irteq::ScaleTable>();
  double w2 = 0.0;
  irteq::ReportFile report("/dev/null");
  try {
    irteq::read_scale_table_file(file.write(data, size), report, *table, w2);
  } catch (const irteq::RunError&) {
    return 0;
  }
  if (table->row_count < 0 || table->row_count > irteq::max_score_points) std::abort();
  return 0;
}
