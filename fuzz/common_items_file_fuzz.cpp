// The common-item file reader on any file content, and link() on what it
// accepts over a small pair of forms: pairs within the limits with the lines
// they stand on, then constants with A > 0 or an Error, never a crash; a
// screening keeps at least two pairs and half of them, its last round the
// flags of the round before.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "irteq/linking.hpp"
#include "small_input.hpp"

namespace {

// Two forms of four items numbered 1 to 4, form X on a scale of its own.
irteq::EquatingInput forms() {
  using irteq::ItemModel;
  const std::vector<irteq::Item> y = {{1, ItemModel::l3, {0, 1}, {1.7, 1.0, -0.5, 0.2}},
                                      {2, ItemModel::l3, {0, 1}, {1.7, 0.8, 0.6, 0.15}},
                                      {3, ItemModel::sn, {0, 1, 2}, {0.9, -0.6, 0.8}},
                                      {4, ItemModel::mu, {0, 1, 3}, {1.7, 1.1, 0.2, 0.0, 0.4, -0.4}}};
  const irteq::QuadratureGrid grid{.points = {-2.0, -1.0, 0.0, 1.0, 2.0}, .weights = {1.0, 4.0, 6.0, 4.0, 1.0}};
  irteq::EquatingInput input;
  input.items_y = y;
  input.items_x = irteq::transform_items(y, 0.8, 0.3);
  input.grid_group1 = grid;
  input.grid_group2 = grid;
  return input;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const irteq::EquatingInput valid = forms();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  irteq::CommonItemsFile file;
  try {
    file = irteq::read_common_items(in, "common.txt", irteq::fuzzing::dropped_output());
  } catch (const irteq::Error&) {
    return 0;
  }
  if (file.pairs.size() > static_cast<std::size_t>(irteq::max_items)) std::abort();
  for (const irteq::CommonItemPair& pair : file.pairs) {
    if (pair.line <= std::max(file.method_line, file.screen_line)) std::abort();
  }
  const irteq::LinkingInput linking{file.pairs,       file.method, file.symmetric, "common.txt",
                                    file.method_line, file.screen, file.cut,       file.screen_line};
  try {
    const irteq::LinkingResult result = irteq::link(valid, linking);
    if (!(result.A > 0.0) || !std::isfinite(result.B)) std::abort();
    if (!result.rounds.empty()) {
      const std::size_t flagged = result.rounds.back().flagged.size();
      if (2 * flagged > file.pairs.size() || file.pairs.size() - flagged < 2) std::abort();
      if (result.rounds.size() > 1 && result.rounds[result.rounds.size() - 2].flagged != result.rounds.back().flagged) {
        std::abort();
      }
    }
  } catch (const irteq::Error&) {
  }
  return 0;
}
