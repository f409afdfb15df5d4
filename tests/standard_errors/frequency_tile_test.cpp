// The frequency-domain sums on every instruction set this processor runs: the same
// numbers to the last bit, as the baseline's.
#include "standard_errors/frequency_tile.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

std::vector<double> transforms_on(const FrequencyLayout& form, KernelPath path) {
  std::vector<double> transforms((form.columns + 2) * 2 * form.frequencies);
  FrequencyScratch scratch(form);
  for (std::size_t first = 1; first <= form.frequencies; first += form.width) {
    frequency_tile(form, first, scratch, transforms, path);
  }
  return transforms;
}

TEST(FrequencyTile, IsTheSameOnEveryInstructionSet) {
  const std::vector<Item> items = mixed_form();
  const QuadratureGrid grid = normal_shaped_grid(0.1, 1.2);
  GroupThetas still{grid.points, grid.weights, {}, {}};
  GroupThetas moving = still;
  for (const double theta : grid.points) {
    moving.dtheta_dA.push_back(-theta);
    moving.dtheta_dB.push_back(-1.0);
  }
  // Tiles of 8 frequencies, so that the form has several.
  const FrequencyLayout form = frequency_layout(items, std::vector<GroupThetas>{still, moving}, 8, 1);
  ASSERT_GT(form.frequencies / form.width, 1u);
  const std::vector<double> baseline = transforms_on(form, KernelPath::baseline);
  for (const KernelPath path : {KernelPath::avx2, KernelPath::avx512}) {
    if (!kernel_path_supported(path)) continue;
    SCOPED_TRACE(kernel_path_name(path));
    const std::vector<double> wide = transforms_on(form, path);
    for (std::size_t i = 0; i < baseline.size(); ++i) {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(wide[i]), std::bit_cast<std::uint64_t>(baseline[i])) << i;
    }
  }
}

}  // namespace
}  // namespace irteq::testing
