// The item parameter file reader on any file content: items that fit the
// limits and can be equated, or an Error.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/score_range.hpp"
#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "small_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const irteq::EquatingInput valid = irteq::fuzzing::small_input();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<irteq::Item> items;
  try {
    items = irteq::read_items(in, "items.par", irteq::fuzzing::dropped_output());
  } catch (const irteq::Error&) {
    return 0;
  }
  if (items.empty() || items.size() > static_cast<std::size_t>(irteq::max_items)) std::abort();
  for (const irteq::Item& item : items) {
    const std::size_t m = item.category_scores.size();
    if (m < 1 || m > static_cast<std::size_t>(irteq::max_categories)) std::abort();
    if (item.model == irteq::ItemModel::l3 && m != 2) std::abort();
  }
  // The form's score points are counted when the run puts both forms together.
  if (irteq::score_range(items).point_count() > irteq::max_score_points) return 0;
  // What was accepted must be something the equating can use.
  irteq::EquatingInput input = valid;
  input.items_x = std::move(items);
  try {
    irteq::validate(input);
  } catch (const irteq::Error& error) {
    std::fprintf(stderr, "accepted items that equate() refuses: %s\n", error.what());
    std::abort();
  }
  return 0;
}
