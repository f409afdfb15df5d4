// Connected groups of items by union-find over the nonzero entries between
// two items' parameters; each group is the smallest block the covariance
// can be factored by on its own.
#include "standard_errors/covariance_blocks.hpp"

namespace irteq {

std::vector<std::vector<std::size_t>> covariance_blocks(const Covariance& covariance,
                                                        std::span<const std::size_t> item_offsets) {
  const std::size_t items = item_offsets.size() - 1;
  const std::size_t size = covariance.size;
  std::vector<std::size_t> item_of(size);
  for (std::size_t i = 0; i < items; ++i) {
    for (std::size_t row = item_offsets[i]; row < item_offsets[i + 1]; ++row) item_of[row] = i;
  }
  std::vector<std::size_t> parent(items);
  for (std::size_t i = 0; i < items; ++i) parent[i] = i;
  const auto root = [&parent](std::size_t i) {
    while (parent[i] != i) {
      parent[i] = parent[parent[i]];
      i = parent[i];
    }
    return i;
  };
  std::vector<bool> varies(items, false);
  for (std::size_t row = 0; row < size; ++row) {
    for (std::size_t column = row; column < size; ++column) {
      if (covariance.values[row * size + column] == 0.0 && covariance.values[column * size + row] == 0.0) continue;
      const std::size_t a = root(item_of[row]);
      const std::size_t b = root(item_of[column]);
      varies[item_of[row]] = true;
      varies[item_of[column]] = true;
      // The smaller item becomes the root, so a group's root is its first item.
      if (a < b) parent[b] = a;
      if (b < a) parent[a] = b;
    }
  }
  std::vector<std::vector<std::size_t>> blocks;
  std::vector<std::size_t> block_of(items, 0);
  for (std::size_t i = 0; i < items; ++i) {
    if (!varies[i]) continue;
    const std::size_t first = root(i);
    if (first == i) {
      block_of[i] = blocks.size();
      blocks.push_back({i});
    } else {
      blocks[block_of[first]].push_back(i);
    }
  }
  return blocks;
}

}  // namespace irteq
