// The item parameter file reader on any file content: items that fit the
// limits and can be equated, or a RunError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "common/item_set.hpp"
#include "common/report_file.hpp"
#include "common/run_error.hpp"
#include "fuzz_input_file.hpp"
#include "input/read_item_parameter_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static irteq::fuzzing::FuzzInputFile file("items");
  static const auto items = std::make_unique<irteq::ItemSet>();
  irteq::ReportFile report("/dev/null");
  try {
    irteq::read_item_parameter_file(file.write(data, size), report, *items);
  } catch (const irteq::RunError&) {
    return 0;
  }
  // What was accepted must be something the equating can use.
  if (items->item_count < 1 || items->item_count > irteq::max_items) std::abort();
  for (int i = 0; i < items->item_count; ++i) {
    const irteq::Item& item = items->items[static_cast<std::size_t>(i)];
    if (item.category_count < 1 || item.category_count > irteq::max_categories) std::abort();
    if (item.type_code == irteq::code_l3 && item.category_count != 2) std::abort();
  }
  return 0;
}
